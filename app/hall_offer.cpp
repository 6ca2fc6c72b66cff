#include "app/hall_offer.h"

#include "app/run_recorder.h"

namespace {
HallOffer last;
}

HallEntry HallEntryFor(const StartPoint& start, bool ended, const std::vector<RankEntry>& entered) {
  if (start.kind == StartKind::Practice) return {false, "A PRACTICE RUN IS NOT RANKED"};
  if (start.kind == StartKind::Start) return {false, "ONLY A RUN FROM THE TITLE IS RANKED"};
  if (!ended) return {false, "THIS RUN DID NOT END"};
  std::string name = entered.empty() ? "" : entered.front().name;
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty()) return {false, "NO NAME WAS ENTERED IN THIS RUN"};
  return {true, name};
}

void OfferRun(const KeptRun& run) {
  const RunSummary& s = run.summary;
  HallEntry entry = HallEntryFor(s.start, s.ended, s.entered);
  if (!entry.ok) return;
  last = {entry.nameOrWhy, run.text, last.offers + 1};
}

const HallOffer& LastHallOffer() { return last; }

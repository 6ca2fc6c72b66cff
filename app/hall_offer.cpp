#include "app/hall_offer.h"

#include "app/run_recorder.h"

namespace {
HallOffer last;
}

void OfferRun(const KeptRun& run) {
  const RunSummary& s = run.summary;
  if (s.start.kind != StartKind::Episode || !s.ended || s.entered.empty()) return;
  std::string name = s.entered.front().name;
  while (!name.empty() && name.back() == ' ') name.pop_back();
  if (name.empty()) return;
  last = {name, run.text, last.offers + 1};
}

const HallOffer& LastHallOffer() { return last; }

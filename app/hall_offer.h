#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/app_block.h"
#include "app/run_start.h"

struct KeptRun;

// The last run that a hall of fame may rank, for the shell to offer: a run
// from a title EPISODE, played to its end, with a name entered.
struct HallOffer {
  std::string name;
  std::string replay;   // the run's file
  uint32_t offers = 0;  // counts the runs offered, so each is seen once
};

// The name a hall would rank a run under, or why it would not rank it (in
// the game's font: capitals, for the overlay). ok tells which.
struct HallEntry {
  bool ok = false;
  std::string nameOrWhy;
};
HallEntry HallEntryFor(const StartPoint& start, bool ended, const std::vector<RankEntry>& entered);

// Offers run if a hall may rank it; other runs leave the offer as it was.
void OfferRun(const KeptRun& run);
const HallOffer& LastHallOffer();

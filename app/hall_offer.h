#pragma once

#include <cstdint>
#include <string>

struct KeptRun;

// The last run that a hall of fame may rank, for the shell to offer: a run
// from a title EPISODE, played to its end, with a name entered.
struct HallOffer {
  std::string name;
  std::string replay;   // the run's file
  uint32_t offers = 0;  // counts the runs offered, so each is seen once
};

// Offers run if a hall may rank it; other runs leave the offer as it was.
void OfferRun(const KeptRun& run);
const HallOffer& LastHallOffer();

#pragma once

#include <list>

class NExplodeList;
class NPotionList;
class NSprite256;

// A destroyed boss part burns out as an explosion region: for a number of
// frames two explosions a frame go off at random points of the part's last
// rectangle; a body's region also scatters potions and ends with a life
// potion in its middle.
class NExplodeRegionList {
 public:
  struct Region {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int framesLeft = 0;
    int dropsPotions = 0;
  };

  NExplodeRegionList(NExplodeList* explosions, NPotionList* potions);
  virtual ~NExplodeRegionList() = default;

  // A region over the sprite's current frame.
  void Add(const NSprite256& sprite, int frames, bool potions);
  void Update();
  bool IsEmpty() const { return regions_.empty(); }
  void Clear() { regions_.clear(); }
  const std::list<Region>& Regions() const { return regions_; }
  // The game's explosions, where the boss also shows the sparks of its hits.
  NExplodeList* GetExplodeList() const { return explosions_; }

 private:
  NExplodeList* explosions_;
  NPotionList* potions_;
  std::list<Region> regions_;
};

#pragma once

#include <memory>
#include <vector>

class NBulletList;
class NExplodeList;
class NExplodeRegionList;
class NFireList;
class NMyChara;
class NSprite256;
class Surface;

// A boss: a group of parts moving together under their scripts. The first
// part is the body; the boss is beaten when the body is destroyed.
class NBossBase {
 public:
  virtual ~NBossBase() = default;
  virtual void CreateParts() = 0;
  virtual void Update(NBulletList& bullets, NMyChara& player) = 0;
  virtual void Draw(Surface* target) = 0;
  virtual void TakeShots(NFireList& shots, NExplodeRegionList& regions) = 0;
  virtual void TouchPlayer(NMyChara& player, NExplodeList& explosions) = 0;
  virtual bool IsDefeated() const = 0;
  // The body's hit points, or -1 once it is gone.
  virtual int GetBodyHitPoints() const = 0;
  // The body, for those who aim at it (the autopilot); null once it is gone.
  virtual const NSprite256* GetBody() const { return nullptr; }
  // The parts that hurt on contact, as they stand now (for the autopilot).
  virtual std::vector<const NSprite256*> GetHarmfulParts() const { return {}; }
};

// The boss a level-map letter names ('A'..'E'), or null for any other.
std::unique_ptr<NBossBase> MakeBoss(char letter);

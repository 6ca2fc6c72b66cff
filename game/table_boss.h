#pragma once

#include <climits>
#include <memory>
#include <span>
#include <vector>

#include "game/boss_base.h"
#include "game/enemy_sub_chara.h"

class NScript;

// A part that cannot in practice be destroyed.
constexpr int kUnbreakable = 999999;
constexpr int kDefaultDelay = NEnemyChara::kAnimationDelay;

// How a boss part is made and placed; the tables name the fields they set
// and leave the rest as they are here. The body's numbers are screen
// coordinates, every other part's are local to the body's top-left corner.
struct BossPart {
  enum Anchor {
    kCentre,      // (x, y) is the centre
    kTopLeft,     // (x, y) is the top-left corner
    kBodyCentre,  // on the body's centre; x, y unused
  };
  static constexpr int kKeepTop = INT_MIN;

  int bitmap = 0;
  int frames = 1;
  int script = 0;
  Anchor anchor = kTopLeft;
  int x = 0;
  int y = 0;
  int shiftX = 0;  // moved by this much once placed
  int shiftY = 0;
  int top = kKeepTop;  // kKeepTop, or the top edge set last (bodies that start off screen)
  int hitPoints = kUnbreakable;
  int animationDelay = kDefaultDelay;
  bool animated = false;  // the boss animates it every frame before its script
};

// The orders a boss keeps. Indices name parts; the body is part 0.
struct BossLayout {
  std::span<const BossPart> parts;
  std::span<const int> updateOrder;  // the parts after the body
  std::span<const int> drawOrder;
  std::span<const int> shotTargets;
  std::span<const int> harmful;
};

// A boss run from a table of its parts. The classes differ only in their
// tables, and a boss whose parts change roles as it loses them chooses its
// orders afresh each time it is asked.
class TableBoss : public NBossBase {
 public:
  static constexpr int kBody = 0;
  static constexpr int kBodyRegionFrames = 100;
  static constexpr int kPartRegionFrames = 48;

  explicit TableBoss(const BossLayout& layout);
  ~TableBoss() override;

  void CreateParts() override;
  void Update(NBulletList& bullets, NMyChara& player) override;
  void Draw(Surface* target) override;
  void TakeShots(NFireList& shots, NExplodeRegionList& regions) override;
  void TouchPlayer(NMyChara& player, NExplodeList& explosions) override;
  bool IsDefeated() const override { return parts_[kBody] == nullptr; }
  int GetBodyHitPoints() const override;
  const NSprite256* GetBody() const override { return parts_.empty() ? nullptr : parts_[kBody].get(); }
  std::vector<const NSprite256*> GetHarmfulParts() const override;

  int GetPartCount() const { return static_cast<int>(parts_.size()); }
  // Null before CreateParts and once the part is destroyed.
  NEnemySubChara* GetPart(int index) const { return parts_[static_cast<size_t>(index)].get(); }

 protected:
  virtual std::span<const int> UpdateOrder() const { return layout_.updateOrder; }
  virtual std::span<const int> DrawOrder() const { return layout_.drawOrder; }
  virtual std::span<const int> ShotTargets() const { return layout_.shotTargets; }
  virtual std::span<const int> HarmfulParts() const { return layout_.harmful; }

 private:
  void Place(NEnemySubChara& part, const BossPart& entry) const;
  // The first target the shot hits uses it up.
  void TryShot(NFireList& shots, int slot, NExplodeRegionList& regions);

  BossLayout layout_;
  // Declared before the parts, so the parts that borrow the scripts go first.
  std::vector<std::unique_ptr<NScript>> scripts_;
  std::vector<std::unique_ptr<NEnemySubChara>> parts_;
};

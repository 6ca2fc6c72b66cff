#include "script/script_runner.h"

#include <cstdint>
#include <limits>

#include "gfx/sprite256.h"
#include "script/aim.h"
#include "script/script.h"
#include "script/script_world.h"

namespace {

constexpr int kCompassSteps = 32;
constexpr int kHalfTurn = 16;

// Arguments are used as they are; wide arithmetic keeps absurd ones defined.
int Wrap(int64_t direction) { return static_cast<int>(direction % kCompassSteps); }

int SaturatingAdd(int a, int b) {
  int64_t sum = static_cast<int64_t>(a) + b;
  if (sum > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (sum < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(sum);
}

bool IsReducedCommand(int opcode) {
  switch (opcode) {
    case kOpMove:
    case kOpStop:
    case kOpShiftX:
    case kOpShiftY:
    case kOpSpeed:
    case kOpSpeedPercent:
    case kOpDirection:
    case kOpRotateLeft:
    case kOpRotateRight:
    case kOpLabel:
    case kOpGotoLabel:
    case kOpRepeat:
    case kOpRepeatEnd:
    case kOpPlaySound:
      return true;
    default:
      return false;
  }
}

class FrameRunner {
 public:
  FrameRunner(NSprite256& sprite, const NScript& script, ScriptState& state, CommandSet set,
              const ScriptContext& context)
      : sprite_(sprite), script_(script), state_(state), set_(set), context_(context) {}

  void Run() {
    int fetched = 0;
    while (true) {
      if (state_.opcode == 0) {
        if (fetched >= context_.commandBound) return;
        Fetch();
        ++fetched;
        continue;
      }
      if (Execute()) return;
      state_.opcode = 0;
    }
  }

 private:
  void Fetch() {
    uint32_t count = script_.GetCount();
    if (state_.pc < 0 || static_cast<uint32_t>(state_.pc) >= count) state_.pc = 0;
    const NScriptCommand& command = script_.GetCommand(static_cast<uint32_t>(state_.pc));
    state_.opcode = command.opcode;
    state_.arg1 = command.arg1;
    state_.arg2 = command.arg2;
    // Running off the end starts the script again from its first command.
    state_.pc = static_cast<int>((static_cast<uint32_t>(state_.pc) + 1) % count);
  }

  void JumpToLabel(int k) {
    // A jump to a missing label goes on with the next command.
    int target = script_.FindLabel(k);
    if (target >= 0) state_.pc = target;
  }

  // Carries out the command in progress; true when it ends the frame.
  bool Execute() {
    if (set_ == CommandSet::Reduced && !IsReducedCommand(state_.opcode)) return false;
    int direction = sprite_.GetDirection();
    switch (state_.opcode) {
      case kOpMove:
        if (state_.arg1 < 1) return false;
        // The plain step along the compass, even for sprites whose own Move
        // is the script.
        sprite_.NSprite256::Move();
        --state_.arg1;
        return true;
      case kOpStop:
        if (state_.arg1 < 1) return false;
        --state_.arg1;
        return true;
      case kOpShiftX:
        sprite_.Shift(state_.arg1, 0);
        return false;
      case kOpShiftY:
        sprite_.Shift(0, state_.arg1);
        return false;
      case kOpSpeed:
        sprite_.SetSpeed(static_cast<float>(state_.arg1));
        return false;
      case kOpSpeedPercent:
        // Single precision throughout, so that a halved speed stays exact.
        sprite_.SetSpeed(sprite_.GetSpeed() * (static_cast<float>(state_.arg1) / 100.0f));
        return false;
      case kOpDirection:
        sprite_.SetDirection(state_.arg1);
        return false;
      case kOpDirectionToMyChara:
        AimAtPlayer();
        return false;
      case kOpDirectionReverse:
        if (direction != -1) sprite_.SetDirection(Wrap(static_cast<int64_t>(direction) + kHalfTurn));
        return false;
      case kOpRotateLeft:
        if (direction >= 0) sprite_.SetDirection(Wrap(static_cast<int64_t>(direction) + state_.arg1));
        return false;
      case kOpRotateRight:
        if (direction >= 0) {
          sprite_.SetDirection(Wrap(static_cast<int64_t>(direction) - state_.arg1 + kCompassSteps));
        }
        return false;
      case kOpGotoLabel:
        JumpToLabel(state_.arg1);
        return false;
      case kOpSetFrame:
        sprite_.SetFrame(state_.arg1);
        return false;
      case kOpIncrFrame:
        if (sprite_.GetFrameCount() > 0) {
          sprite_.SetFrame(static_cast<int>((static_cast<int64_t>(sprite_.GetFrame()) + 1) % sprite_.GetFrameCount()));
        }
        return false;
      case kOpRepeat:
        state_.repeatCount = state_.arg1;
        state_.repeatStart = state_.pc;
        return false;
      case kOpRepeatEnd:
        // A block runs at least once, whatever its count.
        if (state_.repeatCount > 1) {
          state_.pc = state_.repeatStart;
          --state_.repeatCount;
        } else {
          state_.repeatCount = 0;
        }
        return false;
      case kOpShoot:
        if (context_.bullets) {
          context_.bullets->Shoot(SaturatingAdd(sprite_.GetCenterX(), state_.bulletOffsetX),
                                  SaturatingAdd(sprite_.GetCenterY(), state_.bulletOffsetY), state_.arg1);
        }
        return false;
      case kOpSetBulletOffset:
        state_.bulletOffsetX = state_.arg1;
        state_.bulletOffsetY = state_.arg2;
        return false;
      case kOpPlaySound:
        if (context_.sounds) context_.sounds->Play(state_.arg1);
        return false;
      case kOpGosub:
        // The return position is kept even when the label is missing.
        state_.returnIndex = state_.pc;
        JumpToLabel(state_.arg1);
        return false;
      case kOpReturn:
        // A RETURN without a pending GOSUB simply goes on with the next command.
        if (state_.returnIndex >= 0) state_.pc = state_.returnIndex;
        state_.returnIndex = -1;
        return false;
      default:  // LABEL, and any word the parser did not know
        return false;
    }
  }

  void AimAtPlayer() {
    if (!context_.player) return;
    int d = DirectionTo(sprite_.GetCenterX(), sprite_.GetCenterY(), context_.player->GetCenterX(),
                        context_.player->GetCenterY());
    if (state_.arg1 > 0) d = ClampDownward(d, state_.arg1);
    sprite_.SetDirection(d);
  }

  NSprite256& sprite_;
  const NScript& script_;
  ScriptState& state_;
  CommandSet set_;
  const ScriptContext& context_;
};

}  // namespace

void RunScriptFrame(NSprite256& sprite, const NScript* script, ScriptState& state, CommandSet set,
                    const ScriptContext& context) {
  if (script == nullptr || script->GetCount() == 0) return;
  FrameRunner(sprite, *script, state, set, context).Run();
}

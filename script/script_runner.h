#pragma once

#include "script/script_state.h"

class NScript;
class NSprite256;
class BulletSink;
class PlayerView;
class SoundSink;

// Which commands a sprite understands. The reduced set has no aiming,
// shooting, frame changes or subroutines; those commands are skipped.
enum class CommandSet { Full, Reduced };

// The most commands one frame carries out. The scripts' loops all reach a
// MOVE or STOP long before this; a broken script loses the rest of its frame
// instead of hanging the game, and goes on where it stopped next frame.
constexpr int kMaxCommandsPerFrame = 10000;

// What the commands may reach beyond the sprite. bullets and player may be
// null for the reduced set (and are then never used). A fuzzer lowers the
// bound: the game's would spend it on every frame of a script that never waits.
struct ScriptContext {
  BulletSink* bullets = nullptr;
  const PlayerView* player = nullptr;
  SoundSink* sounds = nullptr;
  int commandBound = kMaxCommandsPerFrame;
};

// One frame of a script: carries out commands until a MOVE or STOP with a
// count left uses up the frame. Only MOVE and STOP take time; every other
// command, jumps and fetches included, is instant. A script with no commands
// leaves the sprite where it is.
void RunScriptFrame(NSprite256& sprite, const NScript* script, ScriptState& state, CommandSet set,
                    const ScriptContext& context);

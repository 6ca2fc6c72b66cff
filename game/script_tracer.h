#pragma once

#include <string>
#include <vector>

class NDib256;
class NScript;

// How the script tracer builds the sprite it runs a script on.
struct TraceSetup {
  bool reduced = false;  // the potion's interpreter instead of the enemy's
  int atX = 0;           // start, top-left corner
  int atY = 0;
  int framesInBitmap = 1;  // frames stacked in the strip (full interpreter only)
  int frameWidth = 46;     // used when there is no bitmap
  int frameHeight = 46;
  const NDib256* bitmap = nullptr;  // when set, the sprite is built from it
  int playerX = 297;                // player's top-left corner; the player is 46x46
  int playerY = 405;
};

constexpr int kTracePlayerSize = 46;

// One line per record: "index: (opcode, arg1, arg2) KEYWORD".
std::vector<std::string> ListScript(const NScript& script);

// Runs `frames` calls of the interpreter on a sprite built as its owner builds
// it (enemy part: speed 2.5, direction 0, script from its first command;
// potion sprite: speed 1, no direction) and returns one line per call:
// "t=N x=X y=Y speed=S dir=D img=F", then " sound=S" and " shoot=P@X,Y" for
// each effect and pattern of that call, in the order they happened.
std::vector<std::string> TraceScript(const NScript& script, const TraceSetup& setup, int frames);

// Up to three decimals, no trailing zeros: 2.5, 4, 0.422.
std::string FormatSpeed(float speed);

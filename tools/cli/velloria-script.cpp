// velloria-script: lists a movement script's records, or traces it frame by
// frame with the enemies' or the potions' interpreter.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/string_list.h"
#include "game/script_tracer.h"
#include "gfx/dib256.h"
#include "script/script.h"

namespace {

constexpr int kMaxTraceFrames = 10000000;
constexpr int kMaxFrameSide = 4096;
constexpr int kMaxFramesInBitmap = 256;

const char kUsage[] =
    "usage: velloria-script [options] SCRIPT\n"
    "  SCRIPT                a script file, or the id of an embedded script\n"
    "  --trace N             run N frames and print one line per frame\n"
    "  --reduced             use the potions' interpreter (default: the enemies')\n"
    "  --at X,Y              start position, top-left corner (default 0,0)\n"
    "  --frames-in-bitmap K  frames stacked in the sprite's bitmap (default 1)\n"
    "  --size WxH            frame size (default 46x46)\n"
    "  --bitmap ID           build the sprite from embedded bitmap ID\n"
    "  --player X,Y          player's top-left corner, 46x46 (default 297,405)\n"
    "Without --trace the parsed records are listed.\n";

int Fail(const std::string& message) {
  std::fprintf(stderr, "velloria-script: %s\n%s", message.c_str(), kUsage);
  return 2;
}

// A whole decimal number within lo..hi.
bool ReadInt(const std::string& text, int lo, int hi, int* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || value < lo || value > hi) return false;
  *out = static_cast<int>(value);
  return true;
}

// "A<sep>B" with both parts whole numbers within lo..hi.
bool ReadPair(const std::string& text, char sep, int lo, int hi, int* a, int* b) {
  size_t at = text.find(sep);
  if (at == std::string::npos) return false;
  return ReadInt(text.substr(0, at), lo, hi, a) && ReadInt(text.substr(at + 1), lo, hi, b);
}

bool LoadScript(const std::string& name, NScript* script) {
  std::ifstream file(name, std::ios::binary);
  if (file) {
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    NStringList lines;
    lines.LoadFromBytes({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
    script->Parse(lines);
    return true;
  }
  int id = 0;
  if (!ReadInt(name, 0, 1 << 30, &id)) return false;
  NStringList lines;
  if (!lines.LoadFromResource(id)) return false;
  script->Parse(lines);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  constexpr int kCoordinate = 1 << 20;
  TraceSetup setup;
  int frames = -1;
  int bitmapId = -1;
  std::string name;
  std::vector<std::string> args(argv + 1, argv + argc);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    bool hasValue = i + 1 < args.size();
    const std::string value = hasValue ? args[i + 1] : std::string();
    if (a == "--help" || a == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (a == "--reduced") {
      setup.reduced = true;
      continue;
    } else if (a.rfind("--", 0) != 0) {
      if (!name.empty()) return Fail("only one script at a time");
      name = a;
      continue;
    }
    if (!hasValue) return Fail(a + " needs a value");
    bool ok = true;
    if (a == "--trace") {
      ok = ReadInt(value, 0, kMaxTraceFrames, &frames);
    } else if (a == "--at") {
      ok = ReadPair(value, ',', -kCoordinate, kCoordinate, &setup.atX, &setup.atY);
    } else if (a == "--frames-in-bitmap") {
      ok = ReadInt(value, 1, kMaxFramesInBitmap, &setup.framesInBitmap);
    } else if (a == "--size") {
      ok = ReadPair(value, 'x', 1, kMaxFrameSide, &setup.frameWidth, &setup.frameHeight);
    } else if (a == "--bitmap") {
      ok = ReadInt(value, 0, 1 << 30, &bitmapId);
    } else if (a == "--player") {
      ok = ReadPair(value, ',', -kCoordinate, kCoordinate, &setup.playerX, &setup.playerY);
    } else {
      return Fail("unknown option " + a);
    }
    if (!ok) return Fail("bad value for " + a + ": " + value);
    ++i;
  }
  if (name.empty()) return Fail("no script given");

  NScript script;
  if (!LoadScript(name, &script)) {
    std::fprintf(stderr, "velloria-script: cannot read script %s\n", name.c_str());
    return 1;
  }
  std::unique_ptr<NDib256> bitmap;
  if (bitmapId >= 0) {
    bitmap = std::make_unique<NDib256>(bitmapId);
    if (bitmap->IsEmpty()) {
      std::fprintf(stderr, "velloria-script: no bitmap %d\n", bitmapId);
      return 1;
    }
    setup.bitmap = bitmap.get();
  }

  std::vector<std::string> lines = frames < 0 ? ListScript(script) : TraceScript(script, setup, frames);
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  return 0;
}

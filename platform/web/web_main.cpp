// The browser page's entry: the page (page.js) passes its URL parameters as
// the command line, the resources are unpacked, and the run is driven from
// the page's animation frames until it ends; "Play again" starts a new one.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/app_block.h"
#include "app/application.h"
#include "app/game_scenes.h"
#include "app/main_loop.h"
#include "app/options.h"
#include "app/shutdown.h"
#include "app/stats_log.h"
#include "base/frame_clock.h"
#include "base/packed_resources.h"
#include "drivers/input_drivers.h"
#include "gfx/display.h"
#include "platform/web/web_platform.h"

namespace {

// clang-format off
EM_JS(void, PageUnpack, (const uint8_t* packed, int packedSize, uint8_t* out, int outSize),
      { VelloriaPage.unpack(HEAPU8.slice(packed, packed + packedSize), out, outSize); });
EM_JS(void, PageCannotStart, (const char* text), { VelloriaPage.cannotStart(UTF8ToString(text)); });
EM_JS(void, PageRunEnded, (int code), { VelloriaPage.runEnded(code); });
EM_JS(int, PageWantsPicture, (int frame), { return VelloriaPage.wantsPicture(frame) ? 1 : 0; });
EM_JS(void, PageKeepPicture, (int frame, const uint8_t* indices, int width, int height, const uint8_t* palette), {
  VelloriaPage.keepPicture(frame, HEAPU8.slice(indices, indices + width * height), width, height,
                           HEAPU8.slice(palette, palette + 768));
});
// clang-format on

struct Run {
  Options options;
  GameSceneFactory scenes;
  std::unique_ptr<InputDriver> driver;
  std::unique_ptr<WebPlatform> platform;
  std::unique_ptr<Application> application;
  bool inLoop = false;
};

std::unique_ptr<Run> run;

// The picture presented after a frame, for the page's replay checks: the
// 8-bit indices row by row and the palette as red, green, blue.
void KeepPicture(int64_t frame) {
  const Surface* back = GetBackSurface();
  if (!back || !PageWantsPicture(static_cast<int>(frame))) return;
  std::vector<uint8_t> indices;
  indices.reserve(static_cast<size_t>(back->Width()) * static_cast<size_t>(back->Height()));
  for (int y = 0; y < back->Height(); ++y) indices.insert(indices.end(), back->Row(y), back->Row(y) + back->Width());
  std::vector<uint8_t> palette;
  for (const PaletteEntry& e : GetPalette()) palette.insert(palette.end(), {e.red, e.green, e.blue});
  PageKeepPicture(static_cast<int>(frame), indices.data(), back->Width(), back->Height(), palette.data());
}

void RunDue() {
  if (!run || !run->application || run->inLoop) return;
  run->inLoop = true;
  run->application->Loop().RunDue();
  run->inLoop = false;
}

void EndRun() {
  int code = run->application->Finish();
  run->application.reset();
  run->platform.reset();
  PageRunEnded(code);
}

EM_BOOL OnAnimationFrame(double, void*) {
  if (!run || !run->application) return EM_FALSE;
  RunDue();
  if (!IsQuitRequested()) return EM_TRUE;
  EndRun();
  return EM_FALSE;
}

void BeginRun() {
  run->driver = MakeInputDriver(run->options);  // every run starts with a fresh one
  run->platform = std::make_unique<WebPlatform>(run->options);
  run->application =
      std::make_unique<Application>(run->options, run->platform->Services(), run->scenes, run->driver.get());
  if (std::optional<int> code = run->application->Start()) {
    run->application.reset();
    run->platform.reset();
    PageRunEnded(*code);
    return;
  }
  run->platform->Host().OnFocusChange(RunDue);
  run->application->Loop().OnTick([](int64_t frame, bool) { KeepPicture(frame); });
  emscripten_request_animation_frame_loop(OnAnimationFrame, nullptr);
}

}  // namespace

// Calls from the page.
extern "C" {

EMSCRIPTEN_KEEPALIVE void velloria_resources_unpacked(int ok) {
  if (!ok) {
    PageCannotStart("The game's pictures and sounds could not be unpacked.");
    return;
  }
  BeginRun();
}

EMSCRIPTEN_KEEPALIVE void velloria_play_again() {
  if (run && !run->application) BeginRun();
}

// The --stats line of the coming frame, then paused=0/1.
EMSCRIPTEN_KEEPALIVE const char* velloria_status() {
  static std::string line;
  line = StatsLog::Line(CurrentFrame()) + " paused=" + std::to_string(GetAppBlock().paused);
  return line.c_str();
}

// The ranking in play, one "score,name" line per place.
EMSCRIPTEN_KEEPALIVE const char* velloria_ranking() {
  static std::string text;
  text.clear();
  for (int i = 0; i < kRankEntries; ++i) {
    text += std::to_string(GetRankEntry(i).score) + "," + GetRankEntry(i).name + "\n";
  }
  return text.c_str();
}

}  // extern "C"

int main(int argc, char** argv) {
  std::string error;
  std::optional<Options> options = ParseOptions(argc, argv, error);
  if (!options) {
    PageCannotStart(error.c_str());
    return 0;
  }
  run = std::make_unique<Run>();
  run->options = *options;
  run->scenes.SetInvulnerable(options->invulnerable);
  PackedResources resources = GetPackedResources();
  PageUnpack(resources.packed.data(), static_cast<int>(resources.packed.size()), resources.unpacked.data(),
             static_cast<int>(resources.unpacked.size()));
  return 0;
}

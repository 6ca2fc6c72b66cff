// Packed bitmaps of any bytes load or stay empty; sprites built from them
// draw and hit-test inside their surfaces.
#include <cstddef>
#include <cstdint>

#include "gfx/dib256.h"
#include "gfx/sprite256.h"
#include "gfx/surface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  NDib256 dib({data, size});
  if (!dib.IsEmpty()) {
    PaletteEntry palette[256];
    dib.GetPalette(0, 256, palette);
    // Keep the work per input small: huge but valid bitmaps are skipped.
    if (static_cast<int64_t>(dib.GetWidth()) * dib.GetHeight() > (1 << 20)) return 0;
  }
  Surface target(64, 48);
  for (int frames = 1; frames <= 3; ++frames) {
    NSprite256 a(dib, frames);
    NSprite256 b(dib, frames);
    b.SetPosition(1, 1);
    for (int frame = -1; frame <= frames; ++frame) {
      a.SetFrame(frame);
      a.Draw(&target);
      a.IsHit(b);
    }
  }
  return 0;
}

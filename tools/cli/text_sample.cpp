// Renders both text fonts and the digit strip into one 640x480 picture, at
// 1x and on black, so that the glyph artwork can be judged the way the game
// shows it:  text_sample OUT.png
#include <cstdio>

#include "app/player_file.h"
#include "generated/resource_ids.h"
#include "gfx/ascii.h"
#include "gfx/display.h"
#include "gfx/number.h"
#include "gfx/png_writer.h"

namespace {
constexpr int kLine = 26;
}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: text_sample OUT.png\n");
    return 2;
  }
  if (!CreateDisplay(nullptr) || !SetDisplayMode() || !InitPalette(bitmap::kPalette)) {
    std::fprintf(stderr, "text_sample: no palette bitmap %d\n", bitmap::kPalette);
    return 1;
  }
  Surface* back = GetBackSurface();
  back->FillAll(0);
  NAscii ascii;
  ascii.SetTarget(back);
  NNumber number;
  number.SetTarget(back);
  int y = 20;
  for (int font = 0; font < 2; ++font) {
    ascii.SetFont(font);
    ascii.DrawText(20, y, "ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789 -.");
    ascii.DrawText(20, y + kLine, "It costs 50 potions to continue.");
    ascii.DrawText(20, y + 2 * kLine, "STAGE 1-05   POWER 3   HI-SCORE 0250");
    y += 3 * kLine + 10;
  }
  int x = number.DrawNumber(20, y, 1234567890, 10);
  x = number.DrawDash(x + 14, y);
  x = number.DrawNumber(x + 14, y, 5, 4);
  int stage = number.DrawNumber(x + 28, y, 1, 1);
  stage = number.DrawDash(stage, y);
  number.DrawNumber(stage, y, 5, 2);
  if (FileOutcome saved = SavePlayerFile(argv[1], EncodePng(*back, GetPalette())); !saved.Done()) {
    std::fprintf(stderr, "text_sample: cannot write %s: %s\n", argv[1], saved.reason.c_str());
    return 1;
  }
  ReleaseDisplay();
  return 0;
}

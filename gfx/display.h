#pragma once

#include <cstdint>
#include <memory>

#include "gfx/presenter.h"
#include "gfx/surface.h"

// The 640x480 8-bit display: one back surface that every scene draws into,
// one palette, and a presenter that shows the back surface each frame.

constexpr uint32_t kCooperativeNormal = 0x08;
constexpr uint32_t kCooperativeFullScreenExclusive = 0x11;

// Creates the display context (replacing an old one). presenter may be null
// (headless): then Present shows nothing. Returns false on failure.
bool CreateDisplay(Presenter* presenter);
void SetCooperativeFlags(uint32_t flags);
// Creates the back surface. Returns false on failure.
bool SetDisplayMode();
// Builds the palette from a bitmap resource's colour table.
bool InitPalette(int bitmapId);

Surface* GetBackSurface();
// Whether the back surface is drawn at all (see Surface::SetDrawn); kept for
// back surfaces made later. Drawn by default.
void SetPictureDrawn(bool drawn);
int GetScreenWidth();
int GetScreenHeight();
int IsFullScreen();
const Palette& GetPalette();

// Fills rect (null: the whole surface) with the palette entry nearest rgb
// (0xRRGGBB): black gives index 0, white 255.
bool FillSurface(Surface* surface, const Rect* rect, uint32_t rgb);
// Blacks out the top and bottom bands of a surface: percent 0 nothing,
// 100 all, else height * 0.5 * percent / 100 lines at each edge.
bool DrawCurtain(Surface* surface, int percent);
std::unique_ptr<Surface> CreateOffscreenSurface(int width, int height);

bool Present();
// Our surfaces live in ordinary memory and are never lost; the checks keep
// their place in the frame all the same.
int AreSurfacesLost();
bool RestoreSurfaces();
void ReleaseSurfaces();
void ReleaseDisplay();
// The palette index nearest to a colour (exposed for tests and tools).
uint8_t NearestPaletteIndex(const Palette& palette, uint32_t rgb);

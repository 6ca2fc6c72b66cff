#include "platform/web/web_host.h"

#include <emscripten.h>

#include <utility>

#include "gfx/display.h"
#include "gfx/scale.h"
#include "input/input.h"
#include "platform/web/web_keymap.h"
#include "platform/web/web_music.h"

namespace {

constexpr const char* kCanvas = "#canvas";

// The small calls into the page's script (platform/web/site/page.js).
// clang-format off
EM_JS(void, PageShowPicture, (const uint32_t* rgba, int width, int height),
      { VelloriaPage.showPicture(HEAPU8.subarray(rgba, rgba + width * height * 4), width, height); });
EM_JS(void, PageShowCursor, (int show), { VelloriaPage.showCursor(show !== 0); });
EM_JS(void, PageShowMessage, (const char* text), { VelloriaPage.showMessage(UTF8ToString(text)); });
EM_JS(void, PageToggleFullScreen, (), { VelloriaPage.toggleFullScreen(); });
EM_JS(int, PageCanvasFocused, (), { return VelloriaPage.canvasFocused() ? 1 : 0; });
EM_JS(int, PageVisible, (), { return document.visibilityState !== "hidden" ? 1 : 0; });
EM_JS(void, PageUnlockSound, (), { VelloriaSound.unlock(); });
EM_JS(void, PageSetFit, (int fill), {
  if (VelloriaPage.setFit) VelloriaPage.setFit(fill !== 0);
});
// clang-format on

}  // namespace

WebHost::WebHost(WebMusic* music) : music_(music) {
  emscripten_set_keydown_callback(kCanvas, this, true, &WebHost::OnKey);
  emscripten_set_keyup_callback(kCanvas, this, true, &WebHost::OnKey);
  emscripten_set_focus_callback(kCanvas, this, true, &WebHost::OnFocus);
  emscripten_set_blur_callback(kCanvas, this, true, &WebHost::OnFocus);
  emscripten_set_mousedown_callback(kCanvas, this, true, &WebHost::OnMouseDown);
  emscripten_set_visibilitychange_callback(this, true, &WebHost::OnVisibility);
  // A page opened in the background, or a canvas without focus, starts as a
  // window that lost its focus does: paused.
  canvasFocused_ = PageCanvasFocused() != 0;
  pageVisible_ = PageVisible() != 0;
  UpdateFocus();
}

WebHost::~WebHost() {
  emscripten_set_keydown_callback(kCanvas, nullptr, true, nullptr);
  emscripten_set_keyup_callback(kCanvas, nullptr, true, nullptr);
  emscripten_set_focus_callback(kCanvas, nullptr, true, nullptr);
  emscripten_set_blur_callback(kCanvas, nullptr, true, nullptr);
  emscripten_set_mousedown_callback(kCanvas, nullptr, true, nullptr);
  emscripten_set_visibilitychange_callback(nullptr, true, nullptr);
}

EM_BOOL WebHost::OnKey(int type, const EmscriptenKeyboardEvent* event, void* self) {
  auto* host = static_cast<WebHost*>(self);
  bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  // Browsers let sound start only inside a key or click handler.
  if (down) PageUnlockSound();
  if (down && event->altKey && GameKeyFromDomCode(event->code) == key::kEnter) {
    // Full screen is granted only inside the key's own handler, so the page
    // switches here rather than when the loop reads the event.
    if (!event->repeat) PageToggleFullScreen();
    return EM_TRUE;
  }
  int code = GameKeyFromDomCode(event->code);
  if (code < 0) return EM_FALSE;  // the browser keeps its own keys
  // Auto-repeat would toggle pause and speed over and over.
  if (!(down && event->repeat)) host->events_.push_back({down ? HostEventType::KeyDown : HostEventType::KeyUp, code});
  return EM_TRUE;  // no scrolling on arrows and Space while the game has the keys
}

EM_BOOL WebHost::OnFocus(int type, const EmscriptenFocusEvent*, void* self) {
  auto* host = static_cast<WebHost*>(self);
  host->canvasFocused_ = type == EMSCRIPTEN_EVENT_FOCUS;
  host->UpdateFocus();
  return EM_FALSE;
}

EM_BOOL WebHost::OnVisibility(int, const EmscriptenVisibilityChangeEvent* event, void* self) {
  auto* host = static_cast<WebHost*>(self);
  host->pageVisible_ = !event->hidden;
  host->UpdateFocus();
  return EM_FALSE;
}

EM_BOOL WebHost::OnMouseDown(int, const EmscriptenMouseEvent*, void*) {
  PageUnlockSound();
  return EM_FALSE;  // the click still focuses the canvas
}

void WebHost::UpdateFocus() {
  bool focused = canvasFocused_ && pageVisible_;
  if (focused == focused_) return;
  focused_ = focused;
  events_.push_back({focused ? HostEventType::FocusGained : HostEventType::FocusLost});
  if (wake_) wake_();
}

bool WebHost::PollEvent(HostEvent& event) {
  if (music_ && music_->TakeEndOfPlay()) {
    event = {HostEventType::MusicFinished};
    return true;
  }
  if (events_.empty()) return false;
  event = events_.front();
  events_.pop_front();
  return true;
}

uint32_t WebHost::NowMs() { return static_cast<uint32_t>(emscripten_get_now()); }

void WebHost::ShowCursor(bool show) { PageShowCursor(show ? 1 : 0); }

void WebHost::HideWindow() {
  // The page shows the end of the run once the loop has stopped.
}

void WebHost::ShowMessage(const char*, const char* text) { PageShowMessage(text); }

void WebHost::ToggleFullScreen() { PageToggleFullScreen(); }

void WebHost::Present(const Surface& back, const Palette& palette) {
  lastBack_ = &back;
  lastPalette_ = palette;
  Show();
}

void WebHost::SetOverlay(const OverlayView& overlay) {
  overlay_ = overlay;
  // The back surface goes at the end of a run, before the shell does.
  if (lastBack_ && lastBack_ == GetBackSurface()) Show();
}

void WebHost::SetFit(Fit fit) { PageSetFit(fit == Fit::Fill ? 1 : 0); }

void WebHost::Show() {
  // Canvas pixels are bytes R, G, B, A: as little-endian words 0xAABBGGRR,
  // the converter's 0xAARRGGBB with red and blue changing places.
  Palette swapped = lastPalette_;
  for (PaletteEntry& e : swapped) std::swap(e.red, e.blue);
  int w = lastBack_->Width();
  int h = lastBack_->Height();
  rgba_.resize(static_cast<size_t>(w) * static_cast<size_t>(h));
  ConvertAndScale(*lastBack_, swapped, rgba_.data(), w, h, w, overlay_);
  PageShowPicture(rgba_.data(), w, h);
}

#include "platform/web/web_host.h"

#include <emscripten.h>

#include <algorithm>

#include "gfx/display.h"
#include "gfx/scale.h"
#include "input/input.h"
#include "platform/web/web_keymap.h"
#include "platform/web/web_music.h"

namespace {

constexpr const char* kCanvas = "#canvas";
// The picture goes to the canvas in bands of this many rows, each only as
// wide as its change.
constexpr int kBandRows = 24;

// The small calls into the page's script (platform/web/site/page.js).
// clang-format off
EM_JS(void, PageShowPicture, (const uint32_t* rgba, int width, int height, int x, int y, int w, int h), {
  VelloriaPage.showPicture(HEAPU8.buffer, rgba, width, height, x, y, w, h);
});
EM_JS(void, PageShowCursor, (int show), { VelloriaPage.showCursor(show !== 0); });
EM_JS(void, PageShowMessage, (const char* text), { VelloriaPage.showMessage(UTF8ToString(text)); });
EM_JS(void, PageToggleFullScreen, (), { VelloriaPage.toggleFullScreen(); });
EM_JS(void, PageSetTitle, (const char* title), { VelloriaPage.setTitle(UTF8ToString(title)); });
EM_JS(int, PageGameFocused, (), { return VelloriaPage.gameFocused() ? 1 : 0; });
EM_JS(int, PageVisible, (), { return document.visibilityState !== "hidden" ? 1 : 0; });
EM_JS(void, PageUnlockSound, (), { VelloriaSound.unlock(); });
EM_JS(void, PageSetFit, (int mode), { VelloriaPage.setFit(['whole', 'fill', 'auto'][mode]); });
// clang-format on

}  // namespace

WebHost::WebHost(WebMusic* music, bool headless) : music_(music), headless_(headless) {
  emscripten_set_keydown_callback(kCanvas, this, true, &WebHost::OnKey);
  emscripten_set_keyup_callback(kCanvas, this, true, &WebHost::OnKey);
  emscripten_set_mousedown_callback(kCanvas, this, true, &WebHost::OnMouseDown);
  emscripten_set_visibilitychange_callback(this, true, &WebHost::OnVisibility);
  // A page opened in the background, or a canvas without focus, starts as a
  // window that lost its focus does: paused.
  gameFocused_ = PageGameFocused() != 0;
  pageVisible_ = PageVisible() != 0;
  UpdateFocus();
}

WebHost::~WebHost() {
  emscripten_set_keydown_callback(kCanvas, nullptr, true, nullptr);
  emscripten_set_keyup_callback(kCanvas, nullptr, true, nullptr);
  emscripten_set_mousedown_callback(kCanvas, nullptr, true, nullptr);
  emscripten_set_visibilitychange_callback(nullptr, true, nullptr);
}

namespace {
bool pageButtonKeys = false;
}  // namespace

void SetPageButtonKeys(bool on) { pageButtonKeys = on; }

void WebHost::Push(HostEvent event) {
  if (headless_) return;
  events_.push_back(event);
  if (wake_) wake_();
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
  auto held = host->held_.find(event->code);
  if (!down) {
    if (held == host->held_.end()) return GameKeyFromDomCode(event->code) >= 0;
    int code = held->second;
    host->held_.erase(held);
    host->Push({HostEventType::KeyUp, code, pageButtonKeys});
    return EM_TRUE;
  }
  int code = held != host->held_.end() ? held->second : GameKeyFromDomKey(event->key, event->code);
  if (code < 0) return EM_FALSE;  // the browser keeps its own keys
  // Auto-repeat would toggle pause and speed over and over.
  if (held == host->held_.end()) {
    host->held_[event->code] = code;
    host->Push({HostEventType::KeyDown, code, pageButtonKeys});
  }
  return EM_TRUE;  // no scrolling on arrows and Space while the game has the keys
}

void WebHost::SetGameFocused(bool focused) {
  gameFocused_ = focused;
  UpdateFocus();
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
  bool focused = gameFocused_ && pageVisible_;
  if (focused == focused_) return;
  focused_ = focused;
  if (!focused) {
    // The browser never delivers the key-up of a key let go while another
    // window has the focus: every key held is let go now, or it would stay
    // pressed when the game comes back.
    for (const auto& [place, code] : held_) Push({HostEventType::KeyUp, code});
    held_.clear();
  }
  Push({focused ? HostEventType::FocusGained : HostEventType::FocusLost});
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

void WebHost::SetTitle(const char* title) { PageSetTitle(title); }

void WebHost::Present(const Surface& back, const Palette& palette) {
  lastBack_ = &back;
  lastPalette_ = &palette;
  if (!headless_) Show(back, palette);
}

void WebHost::SetOverlay(const OverlayView& overlay) {
  overlay_ = overlay;
  // The back surface goes at the end of a run, before the shell does.
  if (!headless_ && lastBack_ && lastBack_ == GetBackSurface()) Show(*lastBack_, *lastPalette_);
}

void WebHost::SetFit(Fit fit) {
  // The page's Fill button and the options' FIT are one setting; a headless
  // run reads no settings and leaves the page's as it is.
  if (!headless_) PageSetFit(static_cast<int>(fit));
}

void WebHost::ShowLastPicture() {
  if (lastBack_) Show(*lastBack_, *lastPalette_);
}

void WebHost::Show(const Surface& back, const Palette& palette) {
  // Canvas pixels are bytes R, G, B, A: as little-endian words, 0xAABBGGRR.
  std::array<uint32_t, 256> colours;
  for (size_t i = 0; i < colours.size(); ++i) {
    const PaletteEntry& e = palette[i];
    colours[i] = 0xFF000000u | uint32_t{e.blue} << 16 | uint32_t{e.green} << 8 | e.red;
  }
  int width = back.Width();
  int height = back.Height();
  auto count = static_cast<size_t>(width) * static_cast<size_t>(height);
  // A dimmed picture is redone whole, and once more when the dimming ends:
  // the same index shows two colours then, picture or panel.
  bool whole = colours != colours_ || shown_.size() != count || overlay_.dim || dimmedLast_;
  dimmedLast_ = overlay_.dim;
  colours_ = colours;
  const std::array<uint32_t, 256> dimmed = DimColours(colours);
  line_.resize(static_cast<size_t>(width));
  rgba_.resize(count);
  shown_.resize(count);
  // Only what changed since the last picture is turned into colours and
  // handed to the canvas, band by band: in play most of the screen stays as
  // it was, and the page's work (its share of a core) follows the change.
  for (int band = 0; band < height; band += kBandRows) {
    int top = -1;
    int bottom = -1;
    int left = width;
    int right = -1;
    for (int y = band; y < std::min(height, band + kBandRows); ++y) {
      const uint8_t* row = RowUnderOverlay(back, overlay_, y, mixed_);
      uint8_t* was = shown_.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
      int first = 0;
      int last = width - 1;
      if (!whole) {
        while (first < width && row[first] == was[first]) ++first;
        if (first == width) continue;
        while (row[last] == was[last]) --last;
      }
      uint32_t* out = rgba_.data() + static_cast<size_t>(y) * static_cast<size_t>(width);
      ColourRowUnderOverlay(back, overlay_, y, colours, dimmed, line_.data());
      for (int x = first; x <= last; ++x) {
        was[x] = row[x];
        out[x] = line_[static_cast<size_t>(x)];
      }
      if (top < 0) top = y;
      bottom = y;
      left = std::min(left, first);
      right = std::max(right, last);
    }
    if (top >= 0) PageShowPicture(rgba_.data(), width, height, left, top, right - left + 1, bottom - top + 1);
  }
}

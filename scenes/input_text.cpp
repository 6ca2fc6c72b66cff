#include "scenes/input_text.h"

#include "app/app_block.h"
#include "audio/game_sounds.h"
#include "generated/resource_ids.h"
#include "gfx/display.h"
#include "input/input.h"

namespace {
constexpr int kCursorDelay = 8;
constexpr int kPromptTop = 14;
constexpr int kFieldTop = 37;
constexpr int kTextTop = 41;
constexpr char kBackspace = 8;
constexpr char kLineFeed = 10;

std::unique_ptr<NSprite256> Piece(int id) {
  auto piece = std::make_unique<NSprite256>(id, 1);
  piece->SetTransparent(false);
  return piece;
}
}  // namespace

NInputText::NInputText()
    : cursor(std::make_unique<NSprite256>(bitmap::kTextCursor, 2)),
      lowerLeft(Piece(bitmap::kBoxLowerLeft)),
      lowerMiddle(Piece(bitmap::kBoxLowerMiddle)),
      lowerRight(Piece(bitmap::kBoxLowerRight)),
      upperLeft(Piece(bitmap::kBoxUpperLeft)),
      upperMiddle(Piece(bitmap::kBoxUpperMiddle)),
      upperRight(Piece(bitmap::kBoxUpperRight)),
      font(std::make_unique<NAscii>()) {
  cursor->SetAnimation(kCursorDelay);
  font->SetFont(0);
}

NInputText::~NInputText() = default;

void NInputText::SetSurface(Surface* surface) {
  backBuffer = surface;
  font->SetTarget(surface);
}

void NInputText::CenterOnScreen() {
  int w = prompt.GetLength() * upperMiddle->GetWidth() + upperRight->GetWidth() + upperLeft->GetWidth();
  x = (GetScreenWidth() - w) / 2;
  y = (GetScreenHeight() - upperLeft->GetHeight()) / 2;
}

void NInputText::SetText(const NString& initial, int limit) {
  maxLength = limit < 0 ? 0 : limit;
  text = NString(initial.Str().substr(0, static_cast<size_t>(maxLength)));
}

void NInputText::Begin() {
  state = kEntering;
  FlushTypedText();
  GetAppBlock().hotkeysEnabled = 0;
}

void NInputText::Handle(char c) {
  bool typable = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ' ';
  if (typable) {
    if (text.GetLength() < maxLength) text.AppendChar(c);
  } else if (c == kBackspace) {
    if (text.GetLength() > 0) text = NString(text.Str().substr(0, text.Str().size() - 1));
  }
}

void NInputText::Update() {
  if (state == kEntering) {
    cursor->Animate();
    NString typed;
    ReadTypedText(typed);
    for (int i = 0; i < typed.GetLength(); ++i) {
      char c = typed.GetBuffer()[i];
      if (c == kLineFeed) {
        // Enter finishes; whatever was typed after it in the same frame is dropped.
        PlaySound(sound::kChime);
        state = kFinished;
        GetAppBlock().hotkeysEnabled = 1;
        break;
      }
      Handle(c);
    }
  }
  if (!backBuffer) return;
  DrawCurtain(backBuffer, 100);
  if (state != kEntering) return;
  Draw();
}

void NInputText::Draw() {
  int px = x;
  upperLeft->SetPosition(px, y);
  upperLeft->Draw(backBuffer);
  px += upperLeft->GetWidth();
  for (int i = 0; i < prompt.GetLength(); ++i, px += upperMiddle->GetWidth()) {
    upperMiddle->SetPosition(px, y);
    upperMiddle->Draw(backBuffer);
  }
  upperRight->SetPosition(px, y);
  upperRight->Draw(backBuffer);

  int fx = x + upperLeft->GetWidth();
  lowerLeft->SetPosition(fx, y + kFieldTop);
  lowerLeft->Draw(backBuffer);
  fx += lowerLeft->GetWidth();
  for (int i = 0; i < maxLength + 1; ++i, fx += lowerMiddle->GetWidth()) {
    lowerMiddle->SetPosition(fx, y + kFieldTop);
    lowerMiddle->Draw(backBuffer);
  }
  lowerRight->SetPosition(fx, y + kFieldTop);
  lowerRight->Draw(backBuffer);

  font->DrawText(x + upperLeft->GetWidth(), y + kPromptTop, prompt.GetBuffer());
  int end = font->DrawText(x + upperLeft->GetWidth() + lowerLeft->GetWidth(), y + kTextTop, text.GetBuffer());
  cursor->SetPosition(end, y + kTextTop);
  cursor->Draw(backBuffer);
}

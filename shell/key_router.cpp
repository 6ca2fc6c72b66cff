#include "shell/key_router.h"

#include <algorithm>

#include "input/input.h"

int KeyRouter::Down(const Bindings& bindings, int key, bool typing, Where where) {
  int game = GameKeyFor(bindings, key, typing, where);
  held_[key] = game;
  return game;
}

int KeyRouter::Up(const Bindings& bindings, int key, bool typing, Where where) {
  auto held = held_.find(key);
  if (held == held_.end()) return GameKeyFor(bindings, key, typing, where);  // went down before we looked
  int game = held->second;
  held_.erase(held);
  return game;
}

std::optional<MenuInput> MenuInputFor(const Bindings& bindings, int key) {
  switch (key) {
    case key::kEscape:
      return MenuInput::Close;
    case key::kUp:
      return MenuInput::Up;
    case key::kDown:
      return MenuInput::Down;
    case key::kLeft:
      return MenuInput::Left;
    case key::kRight:
      return MenuInput::Right;
    case key::kEnter:
    case key::kKeypadEnter:
      return MenuInput::Enter;
    default:
      break;
  }
  auto has = [&](Action a) {
    const std::vector<int>& keys = bindings.Keys(a);
    return std::find(keys.begin(), keys.end(), key) != keys.end();
  };
  if (has(Action::Up)) return MenuInput::Up;
  if (has(Action::Down)) return MenuInput::Down;
  if (has(Action::Left)) return MenuInput::Left;
  if (has(Action::Right)) return MenuInput::Right;
  if (has(Action::Fire) || has(Action::Confirm)) return MenuInput::Enter;
  return std::nullopt;
}

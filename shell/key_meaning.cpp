#include "shell/key_meaning.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <functional>

#include "input/key_names.h"

namespace {

std::string Upper(std::string_view text) {
  std::string s(text);
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
  return s;
}

std::string KeyName(int code) {
  std::string name(KeyNameFromCode(code));
  std::replace(name.begin(), name.end(), '_', ' ');
  return name;
}

bool Has(const std::vector<int>& list, int value) { return std::find(list.begin(), list.end(), value) != list.end(); }

// The binding rule for keys and buttons alike: list(a) is action a's list
// (null: it takes none of this kind).
using ListOf = std::function<std::vector<int>*(Action)>;
std::string Bind(ListOf list, Action action, int code, const std::string& name, const char* kind,
                 const std::function<bool(Action)>& needsOne) {
  constexpr size_t kLongestSaid = 50;  // what the options' footer holds
  std::vector<int>& own = *list(action);
  std::string actionName = Upper(ActionName(action));
  auto clashes = [&](Action other) {
    std::vector<int>* theirs = list(other);
    return other != action && theirs && Has(*theirs, code) && ActTogether(action, other);
  };
  // A key held twice already (a file from before) is taken for this action
  // alone rather than from it.
  bool held = Has(own, code);
  if (held && std::none_of(kActions.begin(), kActions.end(), clashes)) {
    if (own.size() == 1 && needsOne(action)) return actionName + " NEEDS A " + kind;
    own.erase(std::find(own.begin(), own.end(), code));
    return name + " TAKEN FROM " + actionName;
  }
  std::string from;
  std::string emptied;
  int emptiedCount = 0;
  for (Action other : kActions) {
    if (!clashes(other)) continue;
    std::vector<int>* theirs = list(other);
    theirs->erase(std::find(theirs->begin(), theirs->end(), code));
    std::string otherName = Upper(ActionName(other));
    from += (from.empty() ? "" : " AND ") + otherName;
    // A move may leave the other without one: the player is told.
    if (theirs->empty() && needsOne(other)) {
      emptied += (emptied.empty() ? "" : " AND ") + otherName;
      ++emptiedCount;
    }
  }
  if (!held) own.push_back(code);
  if (from.empty()) return name + " ADDED TO " + actionName;
  std::string none = emptiedCount == 0   ? ""
                     : emptiedCount == 1 ? " - " + emptied + " HAS NO " + kind
                                         : " - " + emptied + " HAVE NONE";
  std::string said = name + " MOVED FROM " + from + " TO " + actionName + none;
  return said.size() <= kLongestSaid ? said : name + " MOVED TO " + actionName + none;
}

}  // namespace

std::string BindKey(Bindings& bindings, Action action, int key) {
  if (IsReservedKey(key)) return "ESC F1 AND F12 STAY AS THEY ARE";
  return Bind([&](Action a) { return &bindings.Keys(a); }, action, key, KeyName(key), "KEY",
              [](Action) { return true; });
}

std::string BindButton(Bindings& bindings, Action action, int button) {
  if (button == pad_button::kBack) return "PAD BACK OPENS THE OPTIONS";
  if (!bindings.Buttons(action)) return Upper(ActionName(action)) + " IS THE STICK";
  // A pad player needs a button to fire and one to confirm; pause and fast
  // may have none.
  auto needed = [](Action a) { return a == Action::Fire || a == Action::Confirm; };
  return Bind([&](Action a) { return bindings.Buttons(a); }, action, button, PadButtonName(button), "BUTTON", needed);
}

std::string PadButtonName(int button) { return "PAD " + FirstButtonName({button}, ""); }

std::string FirstButtonName(const std::vector<int>& buttons, const std::string& fallback) {
  // The names a standard pad prints on its buttons, in the reading's order.
  constexpr std::array<const char*, 6> kFaces = {"A", "B", "X", "Y", "BACK", "START"};
  if (buttons.empty()) return fallback;
  int b = buttons.front();
  return b >= 0 && b < static_cast<int>(kFaces.size()) ? kFaces[static_cast<size_t>(b)] : std::to_string(b);
}

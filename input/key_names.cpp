#include "input/key_names.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<std::string_view, int>, 69> kKeys{{
    {"ESCAPE", 0x01},    {"1", 0x02},    {"2", 0x03},        {"3", 0x04},     {"4", 0x05},        {"5", 0x06},
    {"6", 0x07},         {"7", 0x08},    {"8", 0x09},        {"9", 0x0A},     {"0", 0x0B},        {"MINUS", 0x0C},
    {"BACKSPACE", 0x0E}, {"Q", 0x10},    {"W", 0x11},        {"E", 0x12},     {"R", 0x13},        {"T", 0x14},
    {"Y", 0x15},         {"U", 0x16},    {"I", 0x17},        {"O", 0x18},     {"P", 0x19},        {"RETURN", 0x1C},
    {"LCTRL", 0x1D},     {"A", 0x1E},    {"S", 0x1F},        {"D", 0x20},     {"F", 0x21},        {"G", 0x22},
    {"H", 0x23},         {"J", 0x24},    {"K", 0x25},        {"L", 0x26},     {"Z", 0x2C},        {"X", 0x2D},
    {"C", 0x2E},         {"V", 0x2F},    {"B", 0x30},        {"N", 0x31},     {"M", 0x32},        {"PERIOD", 0x34},
    {"SPACE", 0x39},     {"KP_7", 0x47}, {"KP_8", 0x48},     {"KP_9", 0x49},  {"KP_MINUS", 0x4A}, {"KP_4", 0x4B},
    {"KP_5", 0x4C},      {"KP_6", 0x4D}, {"KP_1", 0x4F},     {"KP_2", 0x50},  {"KP_3", 0x51},     {"KP_0", 0x52},
    {"KP_PERIOD", 0x53}, {"F12", 0x58},  {"KP_ENTER", 0x9C}, {"RCTRL", 0x9D}, {"UP", 0xC8},       {"LEFT", 0xCB},
    {"RIGHT", 0xCD},     {"DOWN", 0xD0}, {"LALT", 0x38},     {"RALT", 0xB8},  {"LSHIFT", 0x2A},   {"RSHIFT", 0x36},
    {"TAB", 0x0F},       {"F10", 0x44},  {"F1", 0x3B},
}};

}  // namespace

std::optional<int> KeyCodeFromName(std::string_view name) {
  for (const auto& [n, code] : kKeys) {
    if (n == name) return code;
  }
  return std::nullopt;
}

std::string_view KeyNameFromCode(int code) {
  for (const auto& [n, c] : kKeys) {
    if (c == code) return n;
  }
  return {};
}

int LetterKey(char letter) { return KeyCodeFromName(std::string_view(&letter, 1)).value_or(0); }

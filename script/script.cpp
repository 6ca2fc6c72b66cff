#include "script/script.h"

#include <array>
#include <cstdint>

#include "base/nstring.h"
#include "base/string_list.h"

namespace {

constexpr std::array<const char*, kScriptKeywordCount> kKeywords = {
    "MOVE",
    "STOP",
    "SHIFT_X",
    "SHIFT_Y",
    "SPEED",
    "SPEED_PERCENT",
    "DIRECTION",
    "DIRECTION_TO_MYCHARA",
    "DIRECTION_REVERSE",
    "ROTATE_LEFT",
    "ROTATE_RIGHT",
    "LABEL",
    "GOTO_LABEL",
    "SET_FRAME",
    "INCR_FRAME",
    "REPEAT",
    "REPEAT_END",
    "SHOOT",
    "SET_BULLET_OFFSET",
    "PLAY_SOUND",
    "GOSUB",
    "RETURN",
};

int32_t KeywordOpcode(const std::string& word) {
  for (size_t i = 0; i < kKeywords.size(); ++i) {
    if (word == kKeywords[i]) return static_cast<int32_t>(i + 1);
  }
  return kOpUnknown;
}

bool IsWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Splits one trimmed, non-empty command line into a record.
NScriptCommand ParseCommandLine(const NString& line) {
  NString keyword = line;
  NString first("0");
  NString second;
  int space = line.Find(' ', 0);
  if (space >= 0) {
    keyword = line.Mid(0, space - 1);
    NString arguments = line.Mid(space + 1, line.GetLength() - 1);
    arguments.Trim(2, ' ');
    // A comma splits only when something stands before it, so ",5" is one
    // argument that reads as 0.
    int comma = arguments.Find(',', 0);
    if (comma > 0) {
      first = arguments.Mid(0, comma - 1);
      second = arguments.Mid(comma + 1, arguments.GetLength() - 1);
      first.Trim(2, ',');
      second.Trim(2, ',');
    } else {
      first = arguments;
      second = NString("0");
    }
  }
  NScriptCommand command;
  command.opcode = KeywordOpcode(keyword.Str());
  command.arg1 = ParseScriptNumber(first.Str());
  command.arg2 = ParseScriptNumber(second.Str());
  return command;
}

}  // namespace

const char* ScriptKeyword(int opcode) {
  if (opcode < 1 || opcode > kScriptKeywordCount) return "";
  return kKeywords[static_cast<size_t>(opcode - 1)];
}

int32_t ParseScriptNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && IsWhiteSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  // Accumulate towards the limit and stop there, so no digit count overflows.
  const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10 + (text[i] - '0');
    if (value > limit) value = limit;
  }
  return static_cast<int32_t>(negative ? -value : value);
}

NScript::NScript(int resourceId) {
  NStringList lines;
  if (lines.LoadFromResource(resourceId)) Parse(lines);
}

void NScript::Parse(const NStringList& lines) {
  for (uint32_t i = 0; i < lines.GetCount(); ++i) {
    NString line = lines.GetAt(i);
    // Only spaces are trimmed: a tab belongs to the word it touches.
    line.Trim(2, ' ');
    if (line.GetLength() == 0) continue;
    const std::string& text = line.Str();
    if (text.starts_with("//")) continue;
    // The end line; nothing after it is read.
    if (text[0] == '~') return;
    NScriptCommand command = ParseCommandLine(line);
    if (command.opcode == kOpLabel) {
      // A duplicated label number always means its first LABEL.
      labels_.emplace(command.arg1, static_cast<int>(commands_.size()));
    }
    commands_.push_back(command);
  }
}

int NScript::FindLabel(int32_t k) const {
  auto found = labels_.find(k);
  return found == labels_.end() ? -1 : found->second;
}

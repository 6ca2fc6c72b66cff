#include "base/nstring.h"

NString::NString(const char* text) : text_(text ? text : "") {}

int NString::Find(char ch, int start) const {
  if (start < 0 || start >= GetLength()) return -1;
  size_t at = text_.find(ch, static_cast<size_t>(start));
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

NString NString::Mid(int first, int last) const {
  // Both indices compare unsigned, so a negative one counts as huge.
  auto ufirst = static_cast<unsigned>(first);
  auto ulast = static_cast<unsigned>(last);
  auto length = static_cast<unsigned>(text_.size());
  if (ufirst >= length || ulast < ufirst) return NString();
  unsigned end = ulast >= length ? length - 1 : ulast;
  return NString(text_.substr(ufirst, end - ufirst + 1));
}

void NString::Replace(char from, char to) {
  for (char& c : text_) {
    if (c == from) c = to;
  }
}

void NString::Trim(int mode, char ch) {
  if (mode != 0 && mode != 1 && mode != 2) return;
  if (mode == 0 || mode == 2) {
    size_t count = text_.find_first_not_of(ch);
    if (count == std::string::npos) {
      text_.clear();
    } else {
      text_.erase(0, count);
    }
  }
  if ((mode == 1 || mode == 2) && !text_.empty()) {
    size_t last = text_.find_last_not_of(ch);
    if (last == std::string::npos) {
      text_.clear();
    } else {
      text_.erase(last + 1);
    }
  }
}

NString NString::QuotedPathBesideProgram(const NString& name) {
  NString result("\"");
  result.Append(GetProgramDirectory());
  result.Append(name);
  result.AppendChar('"');
  return result;
}

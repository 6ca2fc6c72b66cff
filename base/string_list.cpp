#include "base/string_list.h"

#include "base/resources.h"

int NStringList::LoadFromResource(int id) {
  std::span<const uint8_t> bytes = FindResource(ResourceType::Text, id);
  if (bytes.data() == nullptr) return 0;
  LoadFromBytes(bytes);
  return 1;
}

void NStringList::LoadFromBytes(std::span<const uint8_t> text) {
  RemoveAll();
  // Lines are cut after each LF; the CR and LF of a line end become spaces
  // (the parsers trim them), and a final LF adds no empty last line.
  size_t p = 0;
  while (p < text.size()) {
    size_t i = p;
    while (i < text.size() && text[i] != '\n') ++i;
    if (i == text.size()) {
      Add(NString(std::string(text.begin() + static_cast<std::ptrdiff_t>(p), text.end())));
      return;
    }
    std::string line(text.begin() + static_cast<std::ptrdiff_t>(p), text.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    for (char& c : line) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    Add(NString(std::move(line)));
    p = i + 1;
  }
}

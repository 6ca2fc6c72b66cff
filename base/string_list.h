#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "base/nstring.h"

// An ordered list of owned strings, fillable from a text resource.
class NStringList {
 public:
  NStringList() = default;
  virtual ~NStringList() = default;

  void Add(const NString& text) { lines_.push_back(text); }
  uint32_t GetCount() const { return static_cast<uint32_t>(lines_.size()); }
  const NString& GetAt(uint32_t index) const { return lines_[index]; }
  void RemoveAll() { lines_.clear(); }

  // Replaces the contents by the lines of raw text resource id. Returns 1 on
  // success; 0 when there is no such resource, keeping the old contents.
  int LoadFromResource(int id);
  // The same cutting rules for bytes from anywhere (tools, tests).
  void LoadFromBytes(std::span<const uint8_t> text);

 private:
  std::vector<NString> lines_;
};

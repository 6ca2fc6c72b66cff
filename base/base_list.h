#pragma once

#include <cstdint>
#include <vector>

// An ordered list of untyped pointers. The list never owns its items:
// whoever stores pointers deletes the objects.
class NBaseList {
 public:
  NBaseList() = default;
  virtual ~NBaseList() = default;

  void Add(void* item) { items_.push_back(item); }
  uint32_t GetCount() const { return static_cast<uint32_t>(items_.size()); }
  // Callers keep index below GetCount().
  void* GetAt(uint32_t index) const { return items_[index]; }
  void RemoveAt(uint32_t index) { items_.erase(items_.begin() + index); }
  void RemoveAll() { items_.clear(); }
  int IsEmpty() const { return items_.empty() ? 1 : 0; }

 private:
  std::vector<void*> items_;
};

#include "base/resources.h"

#include <algorithm>
#include <map>
#include <utility>

namespace velloria_resources_generated {
extern const EmbeddedResource kTable[];
extern const int kCount;
}  // namespace velloria_resources_generated

namespace {

constexpr size_t kBitmapFileHeaderSize = 14;

std::map<std::pair<ResourceType, int>, std::span<const uint8_t>>& Overrides() {
  static std::map<std::pair<ResourceType, int>, std::span<const uint8_t>> overrides;
  return overrides;
}

}  // namespace

std::span<const uint8_t> FindResource(ResourceType type, int id) {
  auto& overrides = Overrides();
  if (auto it = overrides.find({type, id}); it != overrides.end()) return it->second;
  using velloria_resources_generated::kCount;
  using velloria_resources_generated::kTable;
  for (int i = 0; i < kCount; ++i) {
    const EmbeddedResource& r = kTable[i];
    if (r.type != type || r.id != id) continue;
    std::span<const uint8_t> bytes(r.begin, static_cast<size_t>(r.end - r.begin));
    if (type == ResourceType::Bitmap) {
      if (bytes.size() < kBitmapFileHeaderSize) return {};
      bytes = bytes.subspan(kBitmapFileHeaderSize);
    }
    return bytes;
  }
  return {};
}

std::vector<int> ResourceIds(ResourceType type) {
  using velloria_resources_generated::kCount;
  using velloria_resources_generated::kTable;
  std::vector<int> ids;
  for (int i = 0; i < kCount; ++i) {
    if (kTable[i].type == type) ids.push_back(kTable[i].id);
  }
  std::sort(ids.begin(), ids.end());
  return ids;
}

void OverrideResource(ResourceType type, int id, std::span<const uint8_t> bytes) {
  if (bytes.empty()) {
    Overrides().erase({type, id});
  } else {
    Overrides()[{type, id}] = bytes;
  }
}

void ClearResourceOverrides() { Overrides().clear(); }

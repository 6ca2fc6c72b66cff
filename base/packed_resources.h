#pragma once

#include <cstdint>
#include <span>

// The browser build keeps its resources as one gzip stream of the files end
// to end (smaller to download); the platform unpacks it into `unpacked`
// before anything looks for a resource. Only that build defines it.
struct PackedResources {
  std::span<const uint8_t> packed;
  std::span<uint8_t> unpacked;
};

PackedResources GetPackedResources();

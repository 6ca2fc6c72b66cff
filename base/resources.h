#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// The program's own resources, compiled into the executable from the files
// under resources/ and found by type and numeric id.
enum class ResourceType { Bitmap, Wave, Text };

struct EmbeddedResource {
  ResourceType type;
  int id;
  const unsigned char* begin;
  const unsigned char* end;
};

// The bytes of a resource, or an empty span when there is none. A bitmap's
// bytes are the packed bitmap: the .bmp file without its 14-byte file header.
std::span<const uint8_t> FindResource(ResourceType type, int id);

// The ids of every embedded resource of a type, in ascending order.
std::vector<int> ResourceIds(ResourceType type);

// Test hook: resources added here are found before the embedded ones, so
// tests can feed loaders broken or unusual data. Pass an empty span to remove.
void OverrideResource(ResourceType type, int id, std::span<const uint8_t> bytes);
void ClearResourceOverrides();

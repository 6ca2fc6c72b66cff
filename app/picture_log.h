#pragma once

#include <cstdint>
#include <string>

#include "base/output_file.h"

class Surface;

// --picture-log: one line per frame, "FRAME DIGEST", the digest of the 8-bit
// picture presented after that frame (eight hex digits). Replays compare it
// frame by frame, so a change shows at the first frame it reaches the screen.
class PictureLog {
 public:
  // False when the file cannot be written (told on standard error).
  bool Open(const std::string& path);
  // False when a write failed (told once).
  bool Close() { return out_.Close(); }
  // ran: whether a frame ran in this tick; if not, the picture is unchanged.
  void Write(int64_t frame, bool ran);

 private:
  OutputFile out_;
  uint32_t last_ = 0;
};

// A 32-bit digest of a surface's pixels (FNV-1a over 64-bit words in four
// lanes, folded). Any change of a palette index changes it with near certainty.
uint32_t PictureDigest(const Surface& surface);

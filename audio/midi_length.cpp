#include "audio/midi_length.h"

#include <algorithm>
#include <map>

namespace {

constexpr uint32_t kDefaultTempo = 500000;  // microseconds per quarter note: 120 beats a minute
constexpr uint8_t kMetaEvent = 0xFF;
constexpr uint8_t kTempoEvent = 0x51;
constexpr uint8_t kEndOfTrack = 0x2F;

// Reads forward through bytes, failing instead of running past the end.
class Reader {
 public:
  Reader(std::span<const uint8_t> bytes, size_t at, size_t end) : b_(bytes), at_(at), end_(end) {}
  bool AtEnd() const { return at_ >= end_; }
  size_t Position() const { return at_; }
  bool Byte(uint8_t& out) {
    if (at_ >= end_) return false;
    out = b_[at_++];
    return true;
  }
  bool Skip(uint64_t n) {
    if (n > end_ - at_) return false;
    at_ += static_cast<size_t>(n);
    return true;
  }
  bool Fixed(int bytes, uint32_t& out) {
    out = 0;
    for (int i = 0; i < bytes; ++i) {
      uint8_t v = 0;
      if (!Byte(v)) return false;
      out = out << 8 | v;
    }
    return true;
  }
  // A variable-length quantity: at most four bytes of seven bits.
  bool Variable(uint32_t& out) {
    out = 0;
    for (int i = 0; i < 4; ++i) {
      uint8_t v = 0;
      if (!Byte(v)) return false;
      out = out << 7 | (v & 0x7F);
      if (!(v & 0x80)) return true;
    }
    return false;
  }

 private:
  std::span<const uint8_t> b_;
  size_t at_;
  size_t end_;
};

bool IdAt(std::span<const uint8_t> b, size_t at, const char* id) {
  return at + 4 <= b.size() && std::equal(id, id + 4, b.begin() + static_cast<std::ptrdiff_t>(at));
}

// Data bytes after a channel status byte.
int ChannelDataBytes(uint8_t status) {
  uint8_t kind = status & 0xF0;
  return kind == 0xC0 || kind == 0xD0 ? 1 : 2;
}

// Walks one track, noting its tempo changes; returns its length in ticks.
bool WalkTrack(Reader in, uint64_t& ticks, std::map<uint64_t, uint32_t>& tempos) {
  uint8_t running = 0;
  ticks = 0;
  while (!in.AtEnd()) {
    uint32_t delta = 0;
    uint8_t status = 0;
    if (!in.Variable(delta) || !in.Byte(status)) return false;
    ticks += delta;
    if (status == kMetaEvent) {
      uint8_t type = 0;
      uint32_t length = 0;
      if (!in.Byte(type) || !in.Variable(length)) return false;
      if (type == kEndOfTrack) return true;
      if (type == kTempoEvent && length == 3) {
        uint32_t tempo = 0;
        if (!in.Fixed(3, tempo)) return false;
        if (tempo > 0) tempos[ticks] = tempo;
      } else if (!in.Skip(length)) {
        return false;
      }
      running = 0;
    } else if (status == 0xF0 || status == 0xF7) {
      uint32_t length = 0;
      if (!in.Variable(length) || !in.Skip(length)) return false;
      running = 0;
    } else if (status & 0x80) {
      running = status;
      if (!in.Skip(static_cast<uint64_t>(ChannelDataBytes(status)))) return false;
    } else {
      // Running status: this byte was already the first data byte.
      if (!running || !in.Skip(static_cast<uint64_t>(ChannelDataBytes(running) - 1))) return false;
    }
  }
  return true;  // a track without its end marker ends with its last event
}

}  // namespace

std::optional<double> MidiFileSeconds(std::span<const uint8_t> file) {
  Reader header(file, 0, file.size());
  uint32_t headerSize = 0;
  uint32_t format = 0;
  uint32_t trackCount = 0;
  uint32_t division = 0;
  if (!IdAt(file, 0, "MThd") || !header.Skip(4) || !header.Fixed(4, headerSize) || headerSize < 6 ||
      !header.Fixed(2, format) || !header.Fixed(2, trackCount) || !header.Fixed(2, division) || format > 2 ||
      trackCount == 0 || division == 0 || !header.Skip(headerSize - 6)) {
    return std::nullopt;
  }
  std::map<uint64_t, uint32_t> tempos;
  uint64_t lastTick = 0;
  size_t at = header.Position();
  for (uint32_t t = 0; t < trackCount; ++t) {
    Reader chunk(file, at, file.size());
    uint32_t size = 0;
    if (!IdAt(file, at, "MTrk") || !chunk.Skip(4) || !chunk.Fixed(4, size) || size > file.size() - at - 8) {
      return std::nullopt;
    }
    uint64_t ticks = 0;
    if (!WalkTrack(Reader(file, at + 8, at + 8 + size), ticks, tempos)) return std::nullopt;
    lastTick = std::max(lastTick, ticks);
    at += 8 + size;
  }
  if (division & 0x8000) {
    // Time code: frames per second (a negative byte) times ticks per frame.
    int framesPerSecond = -static_cast<int8_t>(division >> 8);
    int ticksPerFrame = static_cast<int>(division & 0xFF);
    if (framesPerSecond <= 0 || ticksPerFrame == 0) return std::nullopt;
    return static_cast<double>(lastTick) / (framesPerSecond * ticksPerFrame);
  }
  // Quarter notes: sum the time of each stretch at its tempo.
  double micros = 0;
  uint64_t tick = 0;
  uint32_t tempo = kDefaultTempo;
  for (const auto& [when, next] : tempos) {
    if (when >= lastTick) break;
    micros += static_cast<double>(when - tick) * tempo / division;
    tick = when;
    tempo = next;
  }
  micros += static_cast<double>(lastTick - tick) * tempo / division;
  return micros / 1e6;
}

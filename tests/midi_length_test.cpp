#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "audio/midi_length.h"

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Track(std::initializer_list<uint8_t> events) {
  Bytes t{'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(events.size())};
  for (uint8_t e : events) t.push_back(e);
  return t;
}

Bytes File(uint16_t format, uint16_t division, std::initializer_list<Bytes> tracks) {
  Bytes f{'M',
          'T',
          'h',
          'd',
          0,
          0,
          0,
          6,
          0,
          static_cast<uint8_t>(format),
          0,
          static_cast<uint8_t>(tracks.size()),
          static_cast<uint8_t>(division >> 8),
          static_cast<uint8_t>(division)};
  for (const Bytes& t : tracks) f.insert(f.end(), t.begin(), t.end());
  return f;
}

constexpr uint8_t kEnd[] = {0xFF, 0x2F, 0x00};

}  // namespace

TEST(MidiLength, CountsTicksAtEachTempoUpToTheLastTracksEnd) {
  // 96 ticks a quarter at the default 120 a minute: two quarters take a second.
  Bytes plain = File(0, 96, {Track({0x00, 0x90, 60, 100, 0x81, 0x40, 0x80, 60, 0, 0x00, kEnd[0], kEnd[1], kEnd[2]})});
  EXPECT_DOUBLE_EQ(*MidiFileSeconds(plain), 1.0);
  // A tempo track that halves the speed after a quarter, and a second track
  // whose running-status notes end later than the first track.
  Bytes tempo = File(1, 96,
                     {Track({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20,  // 500000
                             0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40,  // 1000000 after a quarter
                             0x00, kEnd[0], kEnd[1], kEnd[2]}),
                      Track({0x00, 0xC0, 5,                               // program: one data byte
                             0x00, 0x90, 60,   100,  0x60, 64,      100,  // running status
                             0x00, 0xF0, 0x02, 0x01, 0xF7,                // system exclusive
                             0x00, 0xFF, 0x01, 0x02, 'h',  'i',           // text
                             0x60, 0x80, 60,   0,    0x00, kEnd[0], kEnd[1], kEnd[2]})});
  // One quarter at 0.5 s, one at 1 s.
  EXPECT_DOUBLE_EQ(*MidiFileSeconds(tempo), 1.5);
  // Time code: 25 frames a second of 40 ticks; 1000 ticks are a second.
  Bytes smpte =
      File(0, static_cast<uint16_t>(0xE728), {Track({0x87, 0x68, 0x90, 60, 100, 0x00, kEnd[0], kEnd[1], kEnd[2]})});
  EXPECT_DOUBLE_EQ(*MidiFileSeconds(smpte), 1.0);
}

TEST(MidiLength, MalformedFilesHaveNoLength) {
  Bytes good = File(0, 96, {Track({0x60, 0x90, 60, 100, 0x00, kEnd[0], kEnd[1], kEnd[2]})});
  ASSERT_TRUE(MidiFileSeconds(good));
  std::vector<Bytes> bad;
  bad.push_back({});
  bad.push_back(Bytes(good.begin(), good.begin() + 10));                   // header cut short
  bad.push_back(Bytes(good.begin(), good.end() - 4));                      // track shorter than its size
  bad.push_back(File(0, 0, {Track({0x00, kEnd[0], kEnd[1], kEnd[2]})}));   // no division
  bad.push_back(File(3, 96, {Track({0x00, kEnd[0], kEnd[1], kEnd[2]})}));  // no such format
  bad.push_back(File(0, 96, {Track({0x00, 0x40, 0x00})}));                 // running status with nothing before
  bad.push_back(File(0, 96, {Track({0x00, 0x90, 60})}));                   // note cut short
  bad.push_back(File(0, 96, {Track({0xFF, 0xFF, 0xFF, 0xFF, 0x00})}));     // delta time over four bytes
  bad.push_back(File(0, 96, {Track({0x00, 0xFF, 0x01, 0x7F, 'x'})}));      // text longer than the track
  Bytes wrongId = good;
  wrongId[14] = 'X';
  bad.push_back(wrongId);
  Bytes twoTracksClaimed = good;
  twoTracksClaimed[11] = 2;
  bad.push_back(twoTracksClaimed);
  for (size_t i = 0; i < bad.size(); ++i) EXPECT_FALSE(MidiFileSeconds(bad[i])) << "case " << i;
}

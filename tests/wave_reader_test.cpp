#include <gtest/gtest.h>

#include "audio/wave_reader.h"
#include "tests/wave_builder.h"

TEST(WaveReader, TakesTheDataChunkWhereverItLies) {
  std::vector<uint8_t> samples = Ramp(100, 7);
  EXPECT_EQ(ReadWaveSamples(WaveBuilder().Format().Chunk("data", samples).Build()), samples);
  // Data before the format chunk, and an unknown chunk in between.
  EXPECT_EQ(ReadWaveSamples(WaveBuilder().Chunk("LIST", Ramp(10)).Chunk("data", samples).Format().Build()), samples);
  // An odd-sized chunk is followed by its pad byte.
  EXPECT_EQ(ReadWaveSamples(WaveBuilder().Format().Chunk("note", Ramp(3)).Chunk("data", samples).Build()), samples);
  // Odd-sized data at the very end needs no pad byte.
  std::vector<uint8_t> odd = Ramp(5, 1);
  EXPECT_EQ(ReadWaveSamples(WaveBuilder().Format().Chunk("data", odd, false).Build()), odd);
  // Only the first data chunk counts.
  EXPECT_EQ(ReadWaveSamples(WaveBuilder().Format().Chunk("data", Ramp(4, 1)).Chunk("data", Ramp(6)).Build()),
            Ramp(4, 1));
  // Bytes after the RIFF size are not part of the file.
  std::vector<uint8_t> tail = WaveBuilder().Format().Chunk("data", samples).Build();
  tail.insert(tail.end(), {'d', 'a', 't', 'a', 0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(ReadWaveSamples(tail), samples);
  // An empty data chunk is a sound of no samples.
  EXPECT_TRUE(ReadWaveSamples(WaveBuilder().Format().Chunk("data", {}).Build()).empty());
}

TEST(WaveReader, MalformedFilesGiveNoSamplesAndAreNeverReadPastTheirEnd) {
  const std::vector<uint8_t> samples = Ramp(64);
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases = {
      {"empty", {}},
      {"header cut short", {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V'}},
      {"not RIFF",
       [&] {
         auto b = WaveBuilder().Format().Chunk("data", samples).Build();
         b[0] = 'X';
         return b;
       }()},
      {"not WAVE",
       [&] {
         auto b = WaveBuilder().Format().Chunk("data", samples).Build();
         b[11] = 'X';
         return b;
       }()},
      {"no data chunk", WaveBuilder().Format().Chunk("LIST", Ramp(8)).Build()},
      {"no chunks at all", WaveBuilder().Build()},
      {"data size beyond the file", WaveBuilder().Format().ChunkClaiming("data", 65, samples).Build()},
      {"data size wrapping around", WaveBuilder().Format().ChunkClaiming("data", 0xFFFFFFFF, samples).Build()},
      {"chunk before data cut short", WaveBuilder().ChunkClaiming("LIST", 200, Ramp(8)).Chunk("data", samples).Build()},
      {"RIFF size beyond the bytes", WaveBuilder().Format().Chunk("data", samples).Build(1)},
      {"RIFF size far beyond the bytes", WaveBuilder().Format().Chunk("data", samples).Build(0x7FFFFFFF)},
      {"RIFF size ends inside the data", WaveBuilder().Format().Chunk("data", samples).Build(-10)},
      {"odd chunk without its pad byte",
       WaveBuilder().Chunk("note", Ramp(3), false).Chunk("data", samples).Format().Build()},
      {"data chunk header cut off",
       [&] {
         auto b = WaveBuilder().Format().Chunk("data", samples).Build();
         b.resize(b.size() - samples.size() - 4);
         b[4] = static_cast<uint8_t>(b.size() - 8);
         return b;
       }()},
  };
  for (const Case& c : cases) {
    // The bytes live in a buffer of exactly their size, so a read past the
    // end shows up under the sanitizers.
    auto exact = std::make_unique<uint8_t[]>(c.bytes.size() + 1);
    std::copy(c.bytes.begin(), c.bytes.end(), exact.get());
    EXPECT_TRUE(ReadWaveSamples({exact.get(), c.bytes.size()}).empty()) << c.what;
  }
}

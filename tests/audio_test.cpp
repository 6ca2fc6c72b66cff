// The sound bank, the wave reader, the soundfont search and tune lengths.
#include <gtest/gtest.h>

#include "audio/audio_device.h"
#include "audio/game_sounds.h"
#include "audio/midi_length.h"
#include "audio/music.h"
#include "audio/sound_list.h"
#include "audio/soundfont_finder.h"
#include "audio/tune_finder.h"
#include "audio/wave_reader.h"
#include "base/nstring.h"
#include "base/resources.h"
#include "generated/resource_ids.h"
#include "tests/doubles.h"
#include "tests/run_helpers.h"

namespace {

using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// A RIFF WAVE file of the given chunks (id and body); a chunk of odd size is
// followed by its pad byte unless `pad` is false.
Bytes Wave(const std::vector<std::pair<std::string, Bytes>>& chunks, bool pad = true) {
  Bytes b{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  for (const auto& [id, body] : chunks) {
    b.insert(b.end(), id.begin(), id.end());
    Put32(b, static_cast<uint32_t>(body.size()));
    b.insert(b.end(), body.begin(), body.end());
    if (pad && body.size() % 2) b.push_back(0);
  }
  Bytes size;
  Put32(size, static_cast<uint32_t>(b.size() - 8));
  std::copy(size.begin(), size.end(), b.begin() + 4);
  return b;
}

const Bytes kFormat = {1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x22, 0x56, 0, 0, 1, 0, 8, 0};

// A device that numbers its voices and writes down every restart.
class FakeAudio : public AudioDevice {
 public:
  int CreateVoice(const std::vector<uint8_t>&) override { return voices++; }
  void Restart(int voice, bool loop) override { restarts += std::to_string(voice) + (loop ? "L " : " "); }
  void ReleaseAll() override {}
  int voices = 0;
  std::string restarts;
};

}  // namespace

TEST(Music, ARecordingBesideTheMidiFilePlaysInItsPlaceElseTheMidiFile) {
  FakeMusic music;
  SetMusicDevice(&music);
  std::string midi = NString::GetProgramDirectory().Str() + "Probe.mid";
  std::string recording = NString::GetProgramDirectory().Str() + "Probe.ogg";
  std::ofstream(recording) << "recorded";
  PlayMusic("Probe.mid");
  music.refused = recording;  // a damaged recording
  PlayMusic("Probe.mid");
  std::filesystem::remove(recording);
  PlayMusic("Probe.mid");
  EXPECT_EQ(music.opened, (std::vector<std::string>{recording, recording, midi, midi}));
  CloseMusic();
  SetMusicDevice(nullptr);
}

TEST(TuneFinder, BesideTheProgramFirstThenTheDataFolderElseBesideTheProgram) {
  auto root = TestDir("tunes");
  auto put = [&](const char* path) {
    std::filesystem::create_directories((root / path).parent_path());
    std::ofstream(root / path) << "tune";
  };
  const std::filesystem::path program = root / "usr/games", data = "../share/games/velloria";
  std::filesystem::create_directories(program);
  EXPECT_EQ(FindTune("Music01.mid", program, data), program / "Music01.mid");
  put("usr/share/games/velloria/Music01.ogg");  // a recording alone is enough
  EXPECT_EQ(FindTune("Music01.mid", program, data), root / "usr/share/games/velloria/Music01.mid");
  EXPECT_EQ(FindTune("Music01.mid", program, ""), program / "Music01.mid");
  put("usr/games/Music01.mid");  // a player's own tune beside the program
  EXPECT_EQ(FindTune("Music01.mid", program, data), program / "Music01.mid");
}

TEST(SoundBank, TheEighteenEffectsFillTheirSlotsWithTheirLengthsAndCopies) {
  const uint32_t bytes[] = {7094, 2328,  12229, 4212,  15449, 15880, 5726,  40610, 30614,
                            7083, 13579, 1399,  27641, 3752,  6000,  39669, 53086, 197888};
  FakeAudio audio;
  NSoundList bank(&audio);
  LoadGameSounds(bank);
  for (int slot = 0; slot < 18; ++slot) {
    ASSERT_NE(bank.GetSound(slot), nullptr) << slot;
    EXPECT_EQ(bank.GetSound(slot)->GetDataSize(), bytes[slot]) << slot;
    EXPECT_EQ(bank.GetSound(slot)->GetCopies(), slot == 1 || slot == 2 ? 2 : 1) << slot;
  }
  EXPECT_EQ(bank.GetSound(18), nullptr);
  // Slot 1 has voices 1 and 2 and takes turns; a single copy restarts itself.
  for (int slot : {1, 1, 1, 0, 0}) bank.Play(slot, 0);
  bank.Play(17, 1);
  bank.Play(18, 0);
  bank.Play(-1, 0);
  EXPECT_EQ(audio.restarts, "1 2 1 0 0 19L ");
}

TEST(SoundBank, AMissingWaveTakesNoSlotAndABrokenOneKeepsItsSlotSilent) {
  Bytes broken = Wave({{"fmt ", kFormat}});
  OverrideResource(ResourceType::Wave, wave::kGetReady, broken);
  FakeAudio audio;
  NSoundList bank(&audio);
  for (int id : {9999, wave::kVolley, wave::kGetReady, wave::kExplosionLarge}) bank.LoadFromResource(id, 1);
  ClearResourceOverrides();
  EXPECT_EQ(bank.GetSound(0)->GetDataSize(), 7094u);
  EXPECT_EQ(bank.GetSound(1)->GetDataSize(), 0u);
  EXPECT_EQ(bank.GetSound(2)->GetDataSize(), 12229u);
  bank.Play(1, 0);
  EXPECT_EQ(audio.restarts, "");
  EXPECT_EQ(audio.voices, 2);
}

TEST(WaveReader, FindsTheDataChunkWhereverItLiesAndRejectsBrokenFiles) {
  const Bytes samples = {9, 8, 7, 6, 5};
  EXPECT_EQ(ReadWaveSamples(Wave({{"fmt ", kFormat}, {"data", samples}})), samples);
  // After an odd-sized chunk and its pad byte, before the format, twice.
  EXPECT_EQ(ReadWaveSamples(Wave({{"note", {1, 2, 3}}, {"data", samples}, {"fmt ", kFormat}, {"data", {1}}})), samples);
  for (Bytes bad : {Bytes{}, Wave({{"fmt ", kFormat}}), Wave({{"note", {1, 2, 3}}, {"data", samples}}, false)}) {
    EXPECT_TRUE(ReadWaveSamples(bad).empty());
  }
  Bytes cut = Wave({{"data", samples}});
  cut[16] = 200;  // the data claims more than there is
  EXPECT_TRUE(ReadWaveSamples(cut).empty());
  cut = Wave({{"data", samples}});
  cut[4] += 2;  // and so does the RIFF size
  EXPECT_TRUE(ReadWaveSamples(cut).empty());
}

TEST(SoundFontFinder, TheUsersChoiceWinsThenTheSmallKnownFontThenTheSmallestInTheSharedFolder) {
  auto root = TestDir("soundfonts");
  auto put = [&](const char* path, size_t size) {
    std::filesystem::create_directories((root / path).parent_path());
    std::ofstream(root / path) << std::string(size, 'x');
  };
  EXPECT_EQ(FindSoundFont(nullptr, root), "");
  put("usr/share/soundfonts/Big.sf2", 300);
  put("usr/share/soundfonts/small.SF3", 100);
  put("usr/share/soundfonts/notes.txt", 10);
  EXPECT_EQ(FindSoundFont(nullptr, root), (root / "usr/share/soundfonts/small.SF3").string());
  put("usr/share/sounds/sf2/FluidR3_GM.sf2", 500);
  EXPECT_EQ(FindSoundFont(nullptr, root), (root / "usr/share/sounds/sf2/FluidR3_GM.sf2").string());
  put("usr/share/sounds/sf2/TimGM6mb.sf2", 60);
  EXPECT_EQ(FindSoundFont("", root), (root / "usr/share/sounds/sf2/TimGM6mb.sf2").string());
  EXPECT_EQ(FindSoundFont("/home/me/mine.sf2", root), "/home/me/mine.sf2");
}

TEST(MidiLength, CountsTicksAtEachTempoUpToTheLastTracksEnd) {
  auto file = [](uint8_t format, uint16_t division, std::vector<Bytes> tracks) {
    Bytes f{'M',
            'T',
            'h',
            'd',
            0,
            0,
            0,
            6,
            0,
            format,
            0,
            static_cast<uint8_t>(tracks.size()),
            static_cast<uint8_t>(division >> 8),
            static_cast<uint8_t>(division)};
    for (const Bytes& t : tracks) {
      Bytes header{'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(t.size())};
      f.insert(f.end(), header.begin(), header.end());
      f.insert(f.end(), t.begin(), t.end());
    }
    return f;
  };
  // 96 ticks a quarter; the tempo halves after a quarter (0.5 s, then 1 s a
  // quarter); the second track's running-status notes end last.
  Bytes tempo = file(
      1, 96,
      {{0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x60, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00, 0xFF, 0x2F, 0x00},
       {0x00, 0xC0, 5, 0x00, 0x90, 60, 100, 0x60, 64, 100, 0x60, 0x80, 60, 0, 0x00, 0xFF, 0x2F, 0x00}});
  EXPECT_DOUBLE_EQ(*MidiFileSeconds(tempo), 1.5);
  // Time code: 25 frames a second of 40 ticks.
  EXPECT_DOUBLE_EQ(*MidiFileSeconds(file(0, 0xE728, {{0x87, 0x68, 0x90, 60, 100, 0x00, 0xFF, 0x2F, 0x00}})), 1.0);
  EXPECT_FALSE(MidiFileSeconds(file(0, 96, {{0x00, 0x90, 60}})));  // a note cut short
  EXPECT_FALSE(MidiFileSeconds(file(3, 96, {{0x00, 0xFF, 0x2F, 0x00}})));
  EXPECT_FALSE(MidiFileSeconds(Bytes(tempo.begin(), tempo.end() - 4)));
}

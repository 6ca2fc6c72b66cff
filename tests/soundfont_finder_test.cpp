#include <gtest/gtest.h>

#include "audio/soundfont_finder.h"
#include "tests/run_helpers.h"

namespace {

void Put(const std::filesystem::path& path, size_t bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << std::string(bytes, 'x');
}

}  // namespace

TEST(SoundFontFinder, TheUsersChoiceWinsThenTheSmallKnownFontThenTheSmallestInTheSharedFolder) {
  auto root = TestDir("soundfonts");
  EXPECT_EQ(FindSoundFont(nullptr, root), "");
  EXPECT_EQ(FindSoundFont("", root), "");

  Put(root / "usr/share/soundfonts/Big.sf2", 300);
  Put(root / "usr/share/soundfonts/small.SF3", 100);
  Put(root / "usr/share/soundfonts/notes.txt", 10);
  std::filesystem::create_directories(root / "usr/share/soundfonts/folder.sf2");
  EXPECT_EQ(FindSoundFont(nullptr, root), (root / "usr/share/soundfonts/small.SF3").string());

  Put(root / "usr/share/sounds/sf2/default-GM.sf2", 50);
  EXPECT_EQ(FindSoundFont(nullptr, root), (root / "usr/share/sounds/sf2/default-GM.sf2").string());
  Put(root / "usr/share/sounds/sf2/FluidR3_GM.sf2", 500);
  EXPECT_EQ(FindSoundFont(nullptr, root), (root / "usr/share/sounds/sf2/FluidR3_GM.sf2").string());
  Put(root / "usr/share/sounds/sf2/TimGM6mb.sf2", 60);
  EXPECT_EQ(FindSoundFont(nullptr, root), (root / "usr/share/sounds/sf2/TimGM6mb.sf2").string());

  EXPECT_EQ(FindSoundFont("/home/me/mine.sf2", root), "/home/me/mine.sf2");
  std::filesystem::remove_all(root);
}

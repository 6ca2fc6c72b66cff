#include <gtest/gtest.h>

#include <map>

#include "app/settings_store.h"
#include "app/win_reg.h"

namespace {

// Settings kept in memory, as the browser keeps them in its storage.
struct MemoryStore : SettingsStore {
  FileOutcome Read(const std::string& path, std::string& text) override {
    if (broken) return {FileOutcome::Status::Failed, "broken"};
    if (!files.contains(path)) return {FileOutcome::Status::Missing, ""};
    text = files[path];
    return {};
  }
  FileOutcome Write(const std::string& path, const std::string& text) override {
    files[path] = text;
    return {};
  }
  std::map<std::string, std::string> files;
  bool broken = false;
};

}  // namespace

TEST(SettingsStore, TheKeyIsReadAndWrittenWholeThroughTheStoreInUse) {
  MemoryStore store;
  SetSettingsStore(&store);
  const std::string file = "/root/KorvaGames/Velloria/ranking.ini";
  const std::string key = "Software\\KorvaGames\\Velloria";
  // Lines the game does not know come back byte for byte, a NUL included.
  const std::string other("[Other]\nX=1\0\xC3\xA9\n", 15);
  store.files[file] = other + "[" + key + "]\r\nRank0=5,OLD\r\n";
  NWinReg reg;
  NString value;
  EXPECT_TRUE(reg.CreateKey("/root", key) && reg.ReadString("Rank0", value) && value.Str() == "5,OLD");
  EXPECT_TRUE(reg.WriteString("Rank1", NString("7,NEW")) && reg.CloseKey());
  EXPECT_EQ(store.files[file], other + "[" + key + "]\nRank0=5,OLD\nRank1=7,NEW\n");
  store.broken = true;  // an unreadable store leaves the defaults in play
  EXPECT_FALSE(reg.CreateKey("/root", key));
  SetSettingsStore(nullptr);
}

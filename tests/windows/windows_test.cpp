// The Windows versions of what knows the system: the player's files through
// the wide functions, the ranking in the registry, the single-copy mutex.
#include <gtest/gtest.h>
#include <windows.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/app_block.h"
#include "app/instance_lock.h"
#include "app/player_file.h"
#include "app/ranking.h"
#include "app/save_faults.h"
#include "app/win_reg.h"
#include "platform/windows/win_text.h"

namespace fs = std::filesystem;

namespace {

// A fresh folder with an accented name, removed with all it holds.
class TempFolder {
 public:
  TempFolder() {
    path_ = fs::temp_directory_path() / (L"velloria-test-Jos\u00e9-" + std::to_wstring(GetCurrentProcessId()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ec;
    for (fs::recursive_directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec))
      SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  std::string Utf8(const std::wstring& name = L"") const {
    return Narrow((name.empty() ? path_ : path_ / name).wstring());
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// %APPDATA% pointed at a folder, and the ranking's registry key as it was
// before, both put back afterwards.
class UserPlaces {
 public:
  explicit UserPlaces(const std::string& appData) {
    if (const wchar_t* old = _wgetenv(L"APPDATA")) oldAppData_ = old;
    _wputenv_s(L"APPDATA", Widen(appData).c_str());
    HKEY key = nullptr;
    existed_ = RegOpenKeyExW(HKEY_CURRENT_USER, Widen(kRankingKey).c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (!existed_) return;
    wchar_t name[256];
    wchar_t data[1024];
    for (DWORD i = 0;; ++i) {
      DWORD nameLength = 256, dataSize = sizeof(data), type = 0;
      if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
          ERROR_SUCCESS)
        break;
      if (type == REG_SZ) saved_[name] = data;
    }
    RegCloseKey(key);
    Clear();
  }
  ~UserPlaces() {
    _wputenv_s(L"APPDATA", oldAppData_.c_str());
    Clear();
    if (!existed_) return;
    for (const auto& [name, value] : saved_) SetValue(name, value);
  }
  UserPlaces(const UserPlaces&) = delete;
  UserPlaces& operator=(const UserPlaces&) = delete;

  static void Clear() {
    RegDeleteTreeW(HKEY_CURRENT_USER, Widen(kRankingKey).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, Widen(kRankingKey).c_str());
  }
  static std::wstring Value(const std::wstring& name) {
    wchar_t data[1024];
    DWORD size = sizeof(data);
    if (RegGetValueW(HKEY_CURRENT_USER, Widen(kRankingKey).c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, data,
                     &size) != ERROR_SUCCESS)
      return L"(none)";
    return data;
  }
  static void SetValue(const std::wstring& name, const std::wstring& value) {
    RegSetKeyValueW(HKEY_CURRENT_USER, Widen(kRankingKey).c_str(), name.c_str(), REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }

 private:
  std::wstring oldAppData_;
  bool existed_ = false;
  std::map<std::wstring, std::wstring> saved_;
};

std::string Read(const std::string& path) {
  std::string text;
  ReadPlayerFile(path, text);
  return text;
}

}  // namespace

TEST(WindowsPlayerFiles, SavesReplaceWholeFilesUnderAccentedNamesAndRefuseWhatIsNoFile) {
  TempFolder dir;
  const std::string file = dir.Utf8(L"sous-dossier\\r\u00e9glages.ini");
  ASSERT_TRUE(SavePlayerFile(file, "first").Done());  // its folder is made
  ASSERT_TRUE(SavePlayerFile(file, "second, longer").Done());
  EXPECT_EQ(Read(file), "second, longer");
  // A temporary file left by a killed run goes with the next save; none of ours stays.
  const fs::path stale = dir.path() / L"sous-dossier" / L"r\u00e9glages.ini.tmp-99999999";
  std::ofstream(stale) << "half";
  ASSERT_TRUE(SavePlayerFile(file, "third").Done());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / L"sous-dossier"), fs::directory_iterator()), 1);

  // A file with a second name is written where it is, both names seeing the
  // new text; a write that fails leaves the old one, and a copy left by a
  // killed in-place save goes back before an update reads the file.
  const std::string other = dir.Utf8(L"sous-dossier\\autre nom.ini");
  ASSERT_TRUE(CreateHardLinkW(Widen(other).c_str(), Widen(file).c_str(), nullptr));
  InjectSaveFault(SaveStep::Write, EIO);
  EXPECT_EQ(SavePlayerFile(file, "lost").reason, "no space left on device");
  ClearSaveFaults();
  EXPECT_EQ(Read(other), "third");
  std::ofstream(fs::path(Widen(file + ".old-99999999"))) << "before the cut";
  ASSERT_TRUE(UpdatePlayerFile(file, [](std::string_view current, bool) { return std::string(current) + "+"; }).Done());
  EXPECT_EQ(Read(other), "before the cut+");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / L"sous-dossier"), fs::directory_iterator()), 2);

  SetFileAttributesW(Widen(file).c_str(), FILE_ATTRIBUTE_READONLY);
  FileOutcome readOnly = SavePlayerFile(file, "fourth");
  EXPECT_EQ(readOnly.reason, "read-only file");
  EXPECT_EQ(Read(file), "before the cut+");
  EXPECT_EQ(SavePlayerFile(dir.Utf8(L"sous-dossier"), "x").status, FileOutcome::Status::NotRegular);
  std::string none;
  EXPECT_EQ(ReadPlayerFile(dir.Utf8(L"sous-dossier"), none).status, FileOutcome::Status::NotRegular);
  EXPECT_EQ(ReadPlayerFile(dir.Utf8(L"missing\\file"), none).status, FileOutcome::Status::Missing);
}

TEST(WindowsPlayerFiles, SavesWaitForAnotherCopysLockAndUpdatesMergeWhatIsOnDisk) {
  TempFolder dir;
  const std::string file = dir.Utf8(L"classement.ini");
  std::ofstream(dir.path() / L"classement.ini", std::ios::binary) << "\xEF\xBB\xBF"
                                                                  << "a=1\n";
  std::string text;
  ASSERT_TRUE(ReadPlayerFile(file, text).Done());
  EXPECT_EQ(text, "a=1\n");  // the byte-order mark left out
  {
    // Another copy's save holds the lock beside the file.
    HANDLE held = CreateFileW((dir.path() / L"classement.ini.lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    OVERLAPPED whole{};
    ASSERT_TRUE(LockFileEx(held, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
    SetSaveLockWait(std::chrono::milliseconds(50));
    FileOutcome blocked = SavePlayerFile(file, "lost");
    SetSaveLockWait(std::chrono::milliseconds(5000));
    UnlockFileEx(held, 0, MAXDWORD, MAXDWORD, &whole);
    CloseHandle(held);
    EXPECT_FALSE(blocked.Done());
    EXPECT_NE(blocked.reason.find("saving"), std::string::npos) << blocked.reason;
  }
  EXPECT_EQ(Read(file), "a=1\n");  // untouched by the save that gave up
  auto add = [](std::string_view current, bool exists) -> std::optional<std::string> {
    return exists ? std::optional<std::string>(std::string(current) + "b=2\n") : std::nullopt;
  };
  ASSERT_TRUE(UpdatePlayerFile(file, add).Done());
  EXPECT_EQ(Read(file), "a=1\nb=2\n");
  // Nothing to merge into: the file is not made.
  ASSERT_TRUE(UpdatePlayerFile(dir.Utf8(L"aucun.ini"), add).Done());
  EXPECT_FALSE(fs::exists(dir.path() / L"aucun.ini"));
}

TEST(WindowsPlayerFiles, ANewFileTakesTheFirstFreeNameAndNeverReplacesOne) {
  TempFolder dir;
  auto name = [](int n) { return "shot-" + std::to_string(n) + ".png"; };
  std::ofstream(dir.path() / L"shot-1.png") << "kept";
  std::string saved;
  ASSERT_TRUE(SaveNewPlayerFile(dir.Utf8(), name, 1, 2, "new", saved).Done());
  EXPECT_EQ(saved, dir.Utf8(L"shot-2.png"));
  EXPECT_EQ(Read(dir.Utf8(L"shot-1.png")), "kept");
  EXPECT_EQ(Read(saved), "new");
  EXPECT_FALSE(SaveNewPlayerFile(dir.Utf8(), name, 1, 2, "more", saved).Done());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST(WindowsRanking, LivesInTheRegistryUnderTheUsersRootAndInAFileElsewhere) {
  TempFolder dir;
  UserPlaces places(dir.Utf8(L"Roaming"));
  EXPECT_EQ(UserSettingsRoot(), dir.Utf8(L"Roaming"));
  SetRankingRoot(UserSettingsRoot());
  LoadRanking();
  GetRankEntry(0).score = 1234;
  std::snprintf(GetRankEntry(0).name, sizeof(GetRankEntry(0).name), "%s", "MARIA");
  SaveRanking();
  EXPECT_EQ(UserPlaces::Value(L"Rank0"), L"1234,MARIA");
  EXPECT_EQ(UserPlaces::Value(L"Rank7"), L"30,KORVA GAMES");
  EXPECT_FALSE(fs::exists(dir.path() / L"Roaming" / L"KorvaGames"));  // nothing on disk

  // A ranking written by hand is what the game reads.
  UserPlaces::SetValue(L"Rank3", L"777,BY HAND");
  UserPlaces::SetValue(L"Other", L"kept");
  LoadRanking();
  EXPECT_EQ(GetRankEntry(3).score, 777);
  EXPECT_STREQ(GetRankEntry(3).name, "BY HAND");
  SaveRanking();
  EXPECT_EQ(UserPlaces::Value(L"Other"), L"kept");

  // Any other root is a folder: the file there, the registry untouched.
  SetRankingRoot(dir.Utf8(L"elsewhere"));
  GetRankEntry(0).score = 99;
  SaveRanking();
  EXPECT_NE(Read(dir.Utf8(L"elsewhere\\KorvaGames\\Velloria\\ranking.ini")).find("Rank0=99,"), std::string::npos);
  EXPECT_EQ(UserPlaces::Value(L"Rank0"), L"1234,MARIA");
  SetRankingPlace(RankingPlace::Memory);
}

TEST(WindowsInstanceLock, OneHolderAtATimeUntilItEnds) {
  auto first = std::make_unique<InstanceLock>();
  ASSERT_TRUE(first->Acquire());
  InstanceLock second;
  EXPECT_FALSE(second.Acquire());
  first.reset();
  InstanceLock third;
  EXPECT_TRUE(third.Acquire());
}

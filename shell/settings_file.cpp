#include "shell/settings_file.h"

#include <cstdio>

#include "app/settings_store.h"
#include "app/win_reg.h"
#include "base/printable.h"

std::string SettingsFile::DefaultPath() {
  std::string root = UserSettingsRoot();
  if (root.empty()) return {};
  // Joined as text: a std::filesystem::path would read the UTF-8 root in
  // another code page on Windows.
  while (root.size() > 1 && root.back() == '/') root.pop_back();
  return root + "/KorvaGames/Velloria/settings.ini";
}

SettingsStore& SettingsFile::Store() const { return store_ ? *store_ : GetSettingsStore(); }

Settings SettingsFile::Load() {
  base_ = {};
  if (path_.empty()) return {};
  FileOutcome read = Store().Read(path_, text_);
  switch (read.status) {
    case FileOutcome::Status::Done:
      break;
    case FileOutcome::Status::Missing:
      return {};
    case FileOutcome::Status::NotRegular:
      notRegular_ = true;
      std::fprintf(stderr, "velloria: %s is not a regular file; the settings will not be saved\n",
                   PrintablePath(path_).c_str());
      return {};
    case FileOutcome::Status::Failed:
      std::fprintf(stderr, "velloria: cannot read the settings in %s: %s\n", PrintablePath(path_).c_str(),
                   read.reason.c_str());
      return {};
  }
  std::vector<std::string> complaints;
  base_ = ParseSettings(text_, complaints);
  for (const std::string& c : complaints)
    std::fprintf(stderr, "velloria: %s %s\n", PrintablePath(path_).c_str(), c.c_str());
  return base_;
}

bool SettingsFile::Save(const Settings& settings) {
  if (path_.empty()) return true;
  if (notRegular_) return false;
  // What changed since the last load or save goes into the text as it is
  // now, under the file's lock: another copy (a second tab of the page) may
  // have changed other settings meanwhile, and keeps them.
  std::string text;
  FileOutcome saved = Store().Update(path_, [&](std::string_view now, bool) {
    std::vector<std::string> complaints;
    Settings stored = ParseSettings(std::string(now), complaints);
    CopyChanges(base_, settings, stored);
    text = FormatSettings(stored, std::string(now));
    return std::optional<std::string>(text);
  });
  if (saved.Done()) {
    text_ = text;
    base_ = settings;
    return true;
  }
  if (saved.status == FileOutcome::Status::NotRegular) {
    notRegular_ = true;
    std::fprintf(stderr, "velloria: %s is not a regular file; the settings will not be saved\n",
                 PrintablePath(path_).c_str());
  } else {
    std::fprintf(stderr, "velloria: cannot save the settings to %s: %s\n", PrintablePath(path_).c_str(),
                 saved.reason.c_str());
  }
  return false;
}

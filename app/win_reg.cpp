#include "app/win_reg.h"

#include <cctype>
#include <sstream>

#include "app/settings_store.h"

namespace {

constexpr size_t kMaxValueBytes = 256;  // terminator included
constexpr const char* kFileName = "ranking.ini";

// "Software\KorvaGames\Velloria" -> "KorvaGames/Velloria": the vendor and
// product parts of the key name the folder. Joined as text, not as a
// std::filesystem::path, which on Windows would read the UTF-8 root in
// another code page.
std::string FolderFor(const std::string& root, const std::string& path) {
  std::string folder = root;
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  std::string part;
  std::istringstream in(path);
  bool first = true;
  while (std::getline(in, part, '\\')) {
    if (first && part == "Software") {
      first = false;
      continue;
    }
    first = false;
    if (!part.empty()) folder += (folder.empty() || folder.back() == '/' ? "" : "/") + part;
  }
  return folder;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

bool IsSectionLine(const std::string& line) { return line.size() >= 2 && line.front() == '[' && line.back() == ']'; }

std::string WithoutCr(std::string line) {
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace

std::string NWinReg::KeyFile(const std::string& root, const std::string& path) {
  return root.empty() ? std::string() : FolderFor(root, path) + "/" + kFileName;
}

NWinReg::~NWinReg() { CloseKey(); }

bool NWinReg::CreateKey(const std::string& root, const std::string& path) {
  return OpenFile(KeyFile(root, path), path, true);
}

bool NWinReg::OpenKey(const std::string& root, const std::string& path) {
  return OpenFile(KeyFile(root, path), path, false);
}

bool NWinReg::OpenFile(const std::string& file, const std::string& path, bool create) {
  CloseKey();
  file_ = file;
  outcome_ = {};
  if (file.empty()) {
    outcome_ = {FileOutcome::Status::Failed, "no settings folder (neither XDG_CONFIG_HOME nor HOME is set)"};
    return false;
  }
  std::string text;
  outcome_ = GetSettingsStore().Read(file_, text);
  switch (outcome_.status) {
    case FileOutcome::Status::NotRegular:
    case FileOutcome::Status::Failed:
      return false;
    case FileOutcome::Status::Missing:
      if (!create) return false;
      break;
    case FileOutcome::Status::Done:
      break;
  }
  return Parse(text, path, create);
}

bool NWinReg::OpenKeyInText(const std::string& text, const std::string& path) {
  CloseKey();
  file_.clear();
  outcome_ = {};
  return Parse(text, path, false);
}

bool NWinReg::Parse(const std::string& text, const std::string& path, bool create) {
  section_ = "[" + path + "]";
  lines_.clear();
  sectionLine_ = -1;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines_.push_back(WithoutCr(line));
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i] == section_) {
      sectionLine_ = static_cast<int>(i);
      break;
    }
  }
  if (sectionLine_ < 0) {
    if (!create) return false;
    // Only in memory: it reaches the file with the first value written.
    lines_.push_back(section_);
    sectionLine_ = static_cast<int>(lines_.size()) - 1;
  }
  open_ = true;
  return true;
}

int NWinReg::FindValue(const std::string& valueName) const {
  for (size_t i = static_cast<size_t>(sectionLine_) + 1; i < lines_.size(); ++i) {
    const std::string& line = lines_[i];
    if (IsSectionLine(line)) break;
    size_t eq = line.find('=');
    if (eq != std::string::npos && SameName(line.substr(0, eq), valueName)) return static_cast<int>(i);
  }
  return -1;
}

bool NWinReg::ReadString(const std::string& valueName, NString& out) const {
  if (!open_) return false;
  int at = FindValue(valueName);
  if (at < 0) return false;
  const std::string& line = lines_[static_cast<size_t>(at)];
  std::string text = line.substr(line.find('=') + 1);
  if (text.size() + 1 >= kMaxValueBytes) return false;
  out = NString(text.c_str());  // the text ends at a NUL, as a stored string does
  return true;
}

bool NWinReg::WriteString(const std::string& valueName, const NString& value) {
  if (!open_) return false;
  std::string line = valueName + "=" + value.Str();
  int at = FindValue(valueName);
  if (at >= 0) {
    lines_[static_cast<size_t>(at)] = line;
  } else {
    // New values go at the end of the section.
    size_t end = static_cast<size_t>(sectionLine_) + 1;
    while (end < lines_.size() && !IsSectionLine(lines_[end])) ++end;
    while (end > static_cast<size_t>(sectionLine_) + 1 && lines_[end - 1].empty()) --end;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(end), line);
  }
  dirty_ = true;
  return true;
}

bool NWinReg::Flush() {
  // A key read from a text has no file to go back to.
  if (!open_ || !dirty_ || file_.empty()) return true;
  std::string text;
  // Lines are written back whole, a NUL inside a line the game does not know
  // included: only the values it reads end at a NUL.
  for (const std::string& line : lines_) text.append(line).push_back('\n');
  outcome_ = GetSettingsStore().Write(file_, text);
  if (!outcome_.Done()) return false;
  dirty_ = false;
  return true;
}

bool NWinReg::CloseKey() {
  if (!open_) return true;
  bool ok = Flush();
  open_ = false;
  dirty_ = false;
  lines_.clear();
  return ok;
}

bool NWinReg::CreateKeyInText(const std::string& text, const std::string& path) {
  CloseKey();
  file_.clear();
  outcome_ = {};
  return Parse(text, path, true);
}

std::string NWinReg::Text() const {
  std::string text;
  for (const std::string& line : lines_) text.append(line).push_back('\n');
  return text;
}

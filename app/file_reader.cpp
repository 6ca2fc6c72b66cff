#include "app/file_reader.h"

#include <string_view>

#include "app/player_file.h"
#include "base/printable.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr uint64_t kKilobyte = 1024;

}  // namespace

void DropByteOrderMark(std::string& text) {
  if (std::string_view(text).starts_with(kByteOrderMark)) text.erase(0, kByteOrderMark.size());
}

std::string SizeWords(uint64_t bytes) {
  if (bytes >= kMegabyte) return std::to_string(bytes / kMegabyte) + " MB";
  if (bytes >= kKilobyte) return std::to_string(bytes / kKilobyte) + " kB";
  return std::to_string(bytes) + " bytes";
}

std::string ReadProblem(const FileRead& read, const FileKind& kind) {
  switch (read.problem) {
    case FileRead::Problem::None:
      break;
    case FileRead::Problem::NotRegular:
      return std::string("is ") + read.what + ", not " + kind.name;
    case FileRead::Problem::TooLarge: {
      // Just over the cap reads "16777217 bytes", not "16 MB, larger than the 16 MB".
      std::string size = SizeWords(read.size);
      if (size == SizeWords(kind.maxBytes)) size = std::to_string(read.size) + " bytes";
      return "is " + size + ", larger than the " + SizeWords(kind.maxBytes) + " " + kind.name + " may be";
    }
    case FileRead::Problem::Missing:
    case FileRead::Problem::System:
      return "cannot be read: " + ErrorWords(read.error);
  }
  return {};
}

FileOutcome ReadPlayerFile(const std::string& path, std::string& text) {
  FileRead read = ReadFileOfKind(path, kPlayerFileKind, text);
  switch (read.problem) {
    case FileRead::Problem::None:
      return {};
    case FileRead::Problem::Missing:
      return {FileOutcome::Status::Missing, ""};
    case FileRead::Problem::NotRegular:
      return {FileOutcome::Status::NotRegular, "not a regular file"};
    case FileRead::Problem::TooLarge:
      return {FileOutcome::Status::Failed, ReadProblem(read, kPlayerFileKind).substr(std::string_view("is ").size())};
    case FileRead::Problem::System:
      break;
  }
  return {FileOutcome::Status::Failed, ErrorWords(read.error)};
}

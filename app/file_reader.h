#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Every file the program reads by name comes through here: regular files
// only (a FIFO or a device is refused before a byte is read, so nothing
// waits on a writer or reads forever), no larger than its kind allows, and
// without the UTF-8 byte-order mark some editors put in front.

// What a file is called in messages and how large it may be: far above any
// real one (a whole game played by hand records a few hundred kB), low
// enough that a wrong file is refused at once.
struct FileKind {
  const char* name;  // "an input file"
  size_t maxBytes;
};
constexpr size_t kMegabyte = size_t{1} << 20;
constexpr FileKind kInputFileKind{"an input file", 16 * kMegabyte};
// The ranking and the settings hold a few hundred bytes of their own; the
// rest of a shared file is kept, so there is room for others' lines.
constexpr FileKind kPlayerFileKind{"a ranking or settings file", 8 * kMegabyte};

struct FileRead {
  enum class Problem { None, Missing, NotRegular, TooLarge, System };
  Problem problem = Problem::None;
  const char* what = "";  // for NotRegular: "a folder", "a FIFO", "a device", "a socket"
  uint64_t size = 0;      // for TooLarge
  int error = 0;          // for System and Missing: the errno
  bool Done() const { return problem == Problem::None; }
};

// The whole file at path into text (untouched on failure). ReadPlayerFile
// (app/player_file.h) puts its answer as a save's outcome, on every system.
FileRead ReadFileOfKind(const std::string& path, const FileKind& kind, std::string& text);

// Leaves out the UTF-8 byte-order mark at the start of text, if any.
void DropByteOrderMark(std::string& text);

// Why a read failed, to follow the file's name: "is a folder, not an input
// file", "is 300 MB, larger than the 16 MB an input file may be", "cannot be
// read: permission denied".
std::string ReadProblem(const FileRead& read, const FileKind& kind);

// "300 MB", "12 kB", "17 bytes".
std::string SizeWords(uint64_t bytes);

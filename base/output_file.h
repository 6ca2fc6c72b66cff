#pragma once

#include <string>
#include <string_view>

// A file the program writes as it runs (a recorded session, a log): only
// ever a regular file (a FIFO or a device in its place is refused, never
// waited on), every write and the close checked. A failure is told once on
// standard error with its reason and what it costs ("the session is not
// recorded"), the file is given up, and the run's exit code says so
// (OutputFailed): a recording that silently stops is a lost session.
class OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile() { Close(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates or empties path; loss ends the message of a failure.
  bool Open(const std::string& path, std::string loss);
  bool IsOpen() const { return fd_ >= 0; }
  // Kept in memory until Flush or a full buffer.
  void Write(std::string_view bytes);
  // Hands everything written so far to the system.
  void Flush();
  // Flushes and closes; false when this file failed at any point.
  bool Close();

 private:
  void Fail(const std::string& reason);

  int fd_ = -1;
  bool failed_ = false;
  std::string path_;
  std::string loss_;
  std::string buffer_;
};

// Whether a file of this run could not be written (the exit code tells).
bool OutputFailed();
void ResetOutputFailed();

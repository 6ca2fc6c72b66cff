#pragma once

#include <string>

#include "server/verdict.h"

// Verifies each run in a child process of its own (this program with
// --verify): the game keeps program-wide state, so runs verified side by
// side need processes of their own, and a run that hangs or crashes takes
// only its child with it. The child is killed past its time and memory.
class ChildVerifier : public RunVerifier {
 public:
  ChildVerifier(std::string program, int64_t maxFrames, int maxSeconds);
  Verdict Verify(const std::string& file) override;

 private:
  std::string program_;
  std::string maxFrames_;
  int maxSeconds_;
};

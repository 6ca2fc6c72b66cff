#include "server/verify_child.h"

#include <cstdio>
#include <iostream>
#include <iterator>

Verdict VerifyRunFile(const std::string&, int64_t) {
  return Verdict::Fail(Verdict::Kind::Unavailable, "runs cannot be verified yet");
}

int RunVerifyChild(int64_t maxFrames, size_t maxBytes) {
  std::string file;
  char buffer[4096];
  size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, stdin)) > 0) {
    file.append(buffer, n);
    if (file.size() > maxBytes) break;
  }
  Verdict verdict = file.size() > maxBytes ? Verdict::Fail(Verdict::Kind::Malformed, "the file is too large")
                                           : VerifyRunFile(file, maxFrames);
  std::printf("%s\n", VerdictToJson(verdict).c_str());
  return 0;
}

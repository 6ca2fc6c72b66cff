#pragma once

#include <cstdio>

#include "app/host.h"

// The host of a headless run: no window and no events of its own (replayed
// input files supply them); messages go to standard error.
class HeadlessHost : public Host {
 public:
  bool PollEvent(HostEvent&) override { return false; }
  void WaitEvent(int) override {}
  uint32_t NowMs() override { return 0; }
  void ShowCursor(bool) override {}
  void HideWindow() override {}
  void ShowMessage(const char* caption, const char* text) override { std::fprintf(stderr, "%s: %s\n", caption, text); }
};

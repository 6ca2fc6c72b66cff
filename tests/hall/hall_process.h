#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

// velloria-hall started on a free loopback port for one test, stopped with
// SIGTERM (or killed) when the guard goes.
class HallProcess {
 public:
  explicit HallProcess(const std::vector<std::string>& args) {
    int out[2];
    if (pipe(out) != 0) return;
    std::vector<std::string> all = {VELLORIA_HALL_EXE, "--listen", "127.0.0.1:0"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_ = fork();
    if (pid_ == 0) {
      dup2(out[1], STDOUT_FILENO);
      close(out[0]);
      close(out[1]);
      execv(argv[0], argv.data());
      _exit(127);
    }
    close(out[1]);
    output_.reset(fdopen(out[0], "r"));
    // The first line names the port: "velloria-hall: listening on port N ...".
    char line[256];
    if (output_ && std::fgets(line, sizeof line, output_.get()))
      std::sscanf(line, "velloria-hall: listening on port %d", &port_);
  }
  ~HallProcess() {
    if (pid_ > 0 && !stopped_) Stop(SIGKILL);
  }
  HallProcess(const HallProcess&) = delete;
  HallProcess& operator=(const HallProcess&) = delete;

  int Port() const { return port_; }
  // Sends the signal and waits for the exit; returns the exit status.
  int Stop(int signal = SIGTERM) {
    kill(pid_, signal);
    int status = 0;
    waitpid(pid_, &status, 0);
    stopped_ = true;
    return status;
  }
  // What it printed after the port.
  std::string Rest() {
    std::string text;
    char line[256];
    while (output_ && std::fgets(line, sizeof line, output_.get())) text += line;
    return text;
  }

 private:
  struct CloseFile {
    void operator()(FILE* f) const { std::fclose(f); }
  };
  pid_t pid_ = -1;
  int port_ = 0;
  bool stopped_ = false;
  std::unique_ptr<FILE, CloseFile> output_;
};

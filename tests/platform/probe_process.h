#pragma once
// Runs zv_headless_probe as a child process with pipes on its standard input and output.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

class CProbeProcess {
 public:
  // Starts the probe and reads its output up to the "ready" line; Output() has the lines.
  explicit CProbeProcess(const std::vector<std::string>& args) {
    int in[2], out[2];
    if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    std::vector<std::string> all{ZV_HEADLESS_PROBE};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : all) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    ::close(out[1]);
    stdin_ = in[1];
    stdout_ = out[0];
    for (std::string line; pid_ > 0 && ReadLine(line) && line != "ready";) output_ += line + "\n";
  }
  ~CProbeProcess() {
    if (pid_ > 0) Finish();
    if (stdout_ >= 0) ::close(stdout_);
  }
  CProbeProcess(const CProbeProcess&) = delete;
  CProbeProcess& operator=(const CProbeProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  const std::string& Output() const { return output_; }

  // Ends the probe the hard way: nothing of it gets to clean up.
  void Kill() {
    ::kill(pid_, SIGKILL);
    Reap();
  }
  // Lets the probe end normally by closing its standard input; returns its exit status.
  int Finish() {
    CloseInput();
    return Reap();
  }

 private:
  bool ReadLine(std::string& line) {
    line.clear();
    char c;
    while (::read(stdout_, &c, 1) == 1) {
      if (c == '\n') return true;
      line += c;
    }
    return false;
  }
  void CloseInput() {
    if (stdin_ >= 0) ::close(stdin_);
    stdin_ = -1;
  }
  int Reap() {
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    CloseInput();
    return status;
  }

  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
  std::string output_;
};

#pragma once
// Runs zelvotta-tool as a child process with its own runtime folder, so tests that start
// several copies see each other and nothing else.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

struct SToolResult {
  int exitCode = -1;
  std::string standardError;
};

class ToolProcess {
 public:
  ToolProcess(std::filesystem::path runtimeFolder, std::filesystem::path errorFile)
      : runtimeFolder_(std::move(runtimeFolder)), errorFile_(std::move(errorFile)) {}

  // Starts `zelvotta-tool` with `arguments`; returns at once.
  void Start(const std::vector<std::string>& arguments) {
    std::filesystem::create_directories(runtimeFolder_);
    pid_ = ::fork();
    if (pid_ == 0) {
      const int error = ::open(errorFile_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
      ::dup2(error, 2);
      const int devNull = ::open("/dev/null", O_RDWR);
      ::dup2(devNull, 0);
      ::dup2(devNull, 1);
      ::setenv("XDG_RUNTIME_DIR", runtimeFolder_.c_str(), 1);
      std::vector<char*> argv{const_cast<char*>(ZV_TOOL_PATH)};
      for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
      argv.push_back(nullptr);
      ::execv(ZV_TOOL_PATH, argv.data());
      ::_exit(127);
    }
  }

  // Waits for the child and collects its exit code and standard error.
  SToolResult Wait() {
    SToolResult result;
    int status = 0;
    if (pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_) {
      result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    pid_ = -1;
    std::ifstream in(errorFile_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    result.standardError = text.str();
    return result;
  }

  void Kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
  }

  SToolResult Run(const std::vector<std::string>& arguments) {
    Start(arguments);
    return Wait();
  }

  ~ToolProcess() {
    Kill();
    if (pid_ > 0) ::waitpid(pid_, nullptr, 0);
  }

 private:
  std::filesystem::path runtimeFolder_;
  std::filesystem::path errorFile_;
  pid_t pid_ = -1;
};

// Waits until `file` contains `text`, up to `limit`; false on time-out.
inline bool WaitForText(const std::filesystem::path& file, const std::string& text,
                        std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    if (content.str().find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

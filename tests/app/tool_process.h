#pragma once
// Runs zelvotta-tool as a child process with its own runtime folder, so tests that start
// several copies see each other and nothing else.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"

struct SToolResult {
  int exitCode = -1;
  std::string standardError;
};

class ToolProcess {
 public:
  ToolProcess(std::filesystem::path runtimeFolder, std::filesystem::path errorFile)
      : runtimeFolder_(std::move(runtimeFolder)), errorFile_(std::move(errorFile)) {}

  // Starts `zelvotta-tool` with `arguments`; returns at once. Standard input is the null
  // device; standard output is collected and dropped.
  void Start(const std::vector<std::string>& arguments) {
    std::filesystem::create_directories(runtimeFolder_);
    SChildOptions options;
    options.program = ZV_TOOL_PATH;
    options.arguments = arguments;
    options.environment = {{"XDG_RUNTIME_DIR", runtimeFolder_.string()}};
    if (!child_.Start(options)) ADD_FAILURE() << child_.Failure();
  }

  // Waits for the child and collects its exit code and standard error, which is also
  // left in the error file beside the run's other files.
  SToolResult Wait() {
    const SChildResult child = child_.Wait();
    if (child.started && !child.failure.empty()) ADD_FAILURE() << child.failure;
    SToolResult result;
    result.exitCode = child.exitCode;
    result.standardError = ChildText(child.errors);
    std::ofstream(errorFile_, std::ios::binary) << child.errors;
    return result;
  }

  void Kill() { child_.Kill(); }

  SToolResult Run(const std::vector<std::string>& arguments) {
    Start(arguments);
    return Wait();
  }

 private:
  std::filesystem::path runtimeFolder_;
  std::filesystem::path errorFile_;
  CChildProcess child_;  // kills and waits for a child still running when this goes
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

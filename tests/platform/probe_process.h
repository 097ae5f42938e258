#pragma once
// Runs zv_headless_probe as a child process with pipes on its standard input and output.
// On Windows this brings in <windows.h>, whose macros (PostAppMessage, …) would rename
// engine members: include it after the engine's headers.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <string>
#include <vector>

#ifdef _WIN32
#include "platform/headless/wide_path.h"

class CProbeProcess {
 public:
  // Starts the probe and reads its output up to the "ready" line; Output() has the lines.
  explicit CProbeProcess(const std::vector<std::string>& args) {
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE inRead, inWrite, outRead, outWrite;
    if (!::CreatePipe(&inRead, &inWrite, &inheritable, 0)) return;
    if (!::CreatePipe(&outRead, &outWrite, &inheritable, 0)) {
      ::CloseHandle(inRead);
      ::CloseHandle(inWrite);
      return;
    }
    // The child gets only its own ends.
    ::SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inRead;
    startup.hStdOutput = outWrite;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    std::vector<std::string> all{ZV_HEADLESS_PROBE};
    all.insert(all.end(), args.begin(), args.end());
    std::wstring commandLine;
    for (const std::string& arg : all) {
      if (!commandLine.empty()) commandLine += L' ';
      commandLine += Quoted(arg);
    }
    const std::wstring program = WidePath(ZV_HEADLESS_PROBE);
    PROCESS_INFORMATION info{};
    if (::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         nullptr, &startup, &info)) {
      process_ = info.hProcess;
      ::CloseHandle(info.hThread);
    }
    ::CloseHandle(inRead);
    ::CloseHandle(outWrite);
    stdin_ = inWrite;
    stdout_ = outRead;
    for (std::string line; process_ && ReadLine(line) && line != "ready";) output_ += line + "\n";
  }
  ~CProbeProcess() {
    if (process_) Finish();
    CloseInput();
    if (stdout_) ::CloseHandle(stdout_);
  }
  CProbeProcess(const CProbeProcess&) = delete;
  CProbeProcess& operator=(const CProbeProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  const std::string& Output() const { return output_; }

  // Ends the probe the hard way: nothing of it gets to clean up.
  void Kill() {
    if (process_ == nullptr) return;
    ::TerminateProcess(process_, 1);
    Reap();
  }
  // Lets the probe end normally by closing its standard input; returns its exit code.
  int Finish() {
    CloseInput();
    return Reap();
  }

 private:
  // One argument as the C runtime splits a command line: quotes around it when needed,
  // and backslashes doubled where they come before a quote.
  static std::wstring Quoted(const std::string& utf8) {
    const std::wstring arg = WidePath(utf8);
    if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
      if (c == L'\\') {
        ++backslashes;
        continue;
      }
      quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
      backslashes = 0;
      quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L"\"";
  }
  bool ReadLine(std::string& line) {
    line.clear();
    char c;
    DWORD read = 0;
    while (::ReadFile(stdout_, &c, 1, &read, nullptr) && read == 1) {
      if (c == '\n') return true;
      line += c;
    }
    return false;
  }
  void CloseInput() {
    if (stdin_) ::CloseHandle(stdin_);
    stdin_ = nullptr;
  }
  // The exit code; -1 when there was no probe.
  int Reap() {
    int code = -1;
    if (process_ != nullptr) {
      DWORD exitCode = 0;
      ::WaitForSingleObject(process_, INFINITE);
      if (::GetExitCodeProcess(process_, &exitCode)) code = static_cast<int>(exitCode);
      ::CloseHandle(process_);
    }
    process_ = nullptr;
    CloseInput();
    return code;
  }

  HANDLE process_ = nullptr;
  HANDLE stdin_ = nullptr;
  HANDLE stdout_ = nullptr;
  std::string output_;
};
#else
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

  // Ends the probe the hard way: nothing of it gets to clean up. Never with pid -1,
  // which would signal every process of the user.
  void Kill() {
    if (pid_ <= 0) return;
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
  // The wait status; -1 when there was no probe.
  int Reap() {
    int status = -1;
    if (pid_ > 0 && ::waitpid(pid_, &status, 0) != pid_) status = -1;
    pid_ = -1;
    CloseInput();
    return status;
  }

  pid_t pid_ = -1;
  int stdin_ = -1;
  int stdout_ = -1;
  std::string output_;
};
#endif

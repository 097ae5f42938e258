#pragma once
// Starts a program as a child process without a shell: the arguments reach it exactly
// as given, whatever spaces, quotes or backslashes they hold. Standard input gets the
// given text (or the null device), standard output and standard error are collected
// separately as bytes while the child runs, so a chatty child never blocks on a full
// pipe. One implementation for POSIX (fork and execve) and one for Windows
// (CreateProcessW), with the same behaviour.
//
// On Windows this brings in <windows.h>, whose macros rename names like PostAppMessage:
// include it after the engine's headers.
#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#ifndef _WIN32
extern char** environ;
#endif

// Every member has a default, so a designated initializer names only what it needs.
struct SChildOptions {
  std::string program = {};                 // the program's path (UTF-8); no search of PATH
  std::vector<std::string> arguments = {};  // after the program's own name
  std::optional<std::string> input = {};    // standard input; without it the null device
  // Variables set for the child on top of this process's environment (replacing any of
  // the same name).
  std::vector<std::pair<std::string, std::string>> environment = {};
};

struct SChildResult {
  bool started = false;       // false: the program could not be started; see `failure`
  bool timedOut = false;      // killed because it ran past the time limit
  int exitCode = -1;          // -1 when it never ran; 128 + N after POSIX signal N
  std::string output;         // standard output, byte for byte
  std::string errors;         // standard error, byte for byte
  std::string failure;        // why it could not be started or waited for
};

// The exit code a killed child reports on both systems (128 + SIGKILL, as a shell says).
constexpr int kChildKilledExitCode = 137;

// What the child wrote in text mode, with the Windows C runtime's "\r\n" turned back
// into "\n", so the same expectations hold on both systems. Elsewhere the bytes as
// they are: a "\r" there is something the program really wrote.
inline std::string ChildText(std::string bytes) {
#ifdef _WIN32
  size_t kept = 0;
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    bytes[kept++] = bytes[i];
  }
  bytes.resize(kept);
#endif
  return bytes;
}

class CChildProcess {
 public:
  CChildProcess() = default;
  CChildProcess(CChildProcess&&) = default;
  CChildProcess& operator=(CChildProcess&& other) {
    if (this != &other) {
      Abandon();
      state_ = std::move(other.state_);
    }
    return *this;
  }
  // A child still running when its owner goes is killed and waited for.
  ~CChildProcess() { Abandon(); }

  // Starts the program and returns at once; false (with Failure() saying why) when it
  // could not be started. A child started before is killed first.
  bool Start(const SChildOptions& options) {
    Abandon();
    state_ = std::make_unique<SState>();
    if (!Launch(options, *state_)) {
      CloseAll(*state_);
      return false;
    }
    state_->result.started = true;
    return true;
  }

  // Started and not yet waited for (it may have ended by itself meanwhile).
  bool Running() const { return state_ && state_->running; }
  const std::string& Failure() const {
    static const std::string none = "no program was started";
    return state_ ? state_->result.failure : none;
  }

  // Waits for the child to end, up to `limit` when given (then it is killed and the
  // result says timedOut), and returns its exit code and everything it wrote.
  SChildResult Wait(std::optional<std::chrono::milliseconds> limit = std::nullopt) {
    if (!state_) return SChildResult{false, false, -1, {}, {}, Failure()};
    if (state_->running) Reap(*state_, limit);
    Join(*state_);
    CloseAll(*state_);
    SChildResult result = state_->result;
    state_.reset();
    return result;
  }

  // Ends the child at once; Wait() still collects what it wrote.
  void Kill() {
    if (state_ && state_->running) Terminate(*state_);
  }

 private:
  struct SState;

  void Abandon() {
    if (!state_) return;
    Kill();
    Wait();
  }

  static void Join(SState& state) {
    for (std::thread* thread : {&state.inputThread, &state.outputThread, &state.errorThread}) {
      if (thread->joinable()) thread->join();
    }
  }

#ifdef _WIN32
  struct SState {
    HANDLE process = nullptr;
    bool running = false;
    std::thread inputThread, outputThread, errorThread;
    SChildResult result;
  };

  static std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), size);
    return wide;
  }

  // A path the cross build was given on Linux ("/work/…/x.exe") names the same file
  // on Wine's drive Z:, which maps "/". Wine's CreateProcessW happens to take the Unix
  // form too, but as a Windows path it means the folder on the current drive, so it is
  // given the drive.
  static std::wstring ProgramPath(const std::string& path) {
    std::wstring wide = Wide(path);
    if (wide.size() > 1 && wide[0] == L'/' && wide[1] != L'/') wide = L"Z:" + wide;
    for (wchar_t& c : wide) {
      if (c == L'/') c = L'\\';
    }
    return wide;
  }

  // One argument as CommandLineToArgvW and the C runtime split a command line: in
  // quotes when it is empty or holds a blank or a quote; inside, a quote is escaped with
  // a backslash, and backslashes are doubled where they come before a quote, including
  // the closing one. Elsewhere backslashes stand for themselves.
  static std::wstring Quoted(const std::wstring& argument) {
    if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring::npos) return argument;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
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

  // The program's own name is split by simpler rules (up to the next quote, no
  // escapes), so it is always quoted; a path cannot hold a quote.
  static std::wstring CommandLine(const std::wstring& program, const std::vector<std::string>& arguments) {
    std::wstring line = L"\"" + program + L"\"";
    for (const std::string& argument : arguments) line += L" " + Quoted(Wide(argument));
    return line;
  }

  static std::wstring UpperName(const std::wstring& entry) {
    // "=C:=C:\\folder" style entries keep the current folder of each drive: their
    // names begin with the '='.
    std::wstring name = entry.substr(0, entry.find(L'=', 1));
    for (wchar_t& c : name) c = static_cast<wchar_t>(::towupper(c));
    return name;
  }

  // This process's environment with the extra variables set, as the block that
  // CreateProcessW takes with CREATE_UNICODE_ENVIRONMENT: sorted by name without case,
  // each entry ended by a zero, the whole by another.
  static std::wstring EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& extra) {
    std::vector<std::wstring> entries;
    if (wchar_t* strings = ::GetEnvironmentStringsW()) {
      for (const wchar_t* entry = strings; *entry != L'\0'; entry += std::wcslen(entry) + 1) entries.emplace_back(entry);
      ::FreeEnvironmentStringsW(strings);
    }
    for (const auto& [name, value] : extra) {
      const std::wstring wideName = Wide(name);
      const std::wstring upper = UpperName(wideName + L"=");
      std::erase_if(entries, [&](const std::wstring& entry) { return UpperName(entry) == upper; });
      entries.push_back(wideName + L"=" + Wide(value));
    }
    std::stable_sort(entries.begin(), entries.end(),
                     [](const std::wstring& a, const std::wstring& b) { return UpperName(a) < UpperName(b); });
    std::wstring block;
    for (const std::wstring& entry : entries) block += entry + L'\0';
    return block + L'\0';
  }

  static void Drain(HANDLE pipe, std::string* into) {
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0) into->append(buffer, read);
    ::CloseHandle(pipe);
  }

  static void Feed(HANDLE pipe, std::string text) {
    // A child that ends without reading everything breaks the pipe: the rest is dropped.
    for (size_t at = 0; at < text.size();) {
      DWORD written = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - at, 1 << 16));
      if (!::WriteFile(pipe, text.data() + at, chunk, &written, nullptr)) break;
      at += written;
    }
    ::CloseHandle(pipe);
  }

  static std::string SystemMessage(const char* what) {
    return std::string(what) + " failed with Windows error " + std::to_string(::GetLastError());
  }

  static bool Launch(const SChildOptions& options, SState& state) {
    // The child's ends are inheritable, ours are not; only the child's are passed on,
    // through the handle list, so no other child started meanwhile gets them.
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    HANDLE childIn = nullptr, childOut = nullptr, childErr = nullptr;
    HANDLE ourIn = nullptr, ourOut = nullptr, ourErr = nullptr;
    auto closeAll = [&] {
      for (HANDLE h : {childIn, childOut, childErr, ourIn, ourOut, ourErr}) {
        if (h != nullptr && h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
      }
    };
    if (options.input) {
      if (!::CreatePipe(&childIn, &ourIn, &inheritable, 0)) {
        state.result.failure = SystemMessage("CreatePipe");
        return false;
      }
      ::SetHandleInformation(ourIn, HANDLE_FLAG_INHERIT, 0);
    } else {
      childIn = ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
      if (childIn == INVALID_HANDLE_VALUE) {
        state.result.failure = SystemMessage("opening NUL");
        return false;
      }
    }
    if (!::CreatePipe(&ourOut, &childOut, &inheritable, 0) || !::CreatePipe(&ourErr, &childErr, &inheritable, 0)) {
      state.result.failure = SystemMessage("CreatePipe");
      closeAll();
      return false;
    }
    ::SetHandleInformation(ourOut, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(ourErr, HANDLE_FLAG_INHERIT, 0);

    HANDLE inherited[] = {childIn, childOut, childErr};
    SIZE_T attributeSize = 0;
    ::InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeSize);
    std::vector<char> attributeBytes(attributeSize);
    auto* attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeBytes.data());
    if (!::InitializeProcThreadAttributeList(attributes, 1, 0, &attributeSize) ||
        !::UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited, sizeof inherited,
                                     nullptr, nullptr)) {
      state.result.failure = SystemMessage("setting up the inherited handles");
      closeAll();
      return false;
    }
    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = childIn;
    startup.StartupInfo.hStdOutput = childOut;
    startup.StartupInfo.hStdError = childErr;
    startup.lpAttributeList = attributes;

    const std::wstring program = ProgramPath(options.program);
    std::wstring commandLine = CommandLine(program, options.arguments);
    std::wstring environment;
    if (!options.environment.empty()) environment = EnvironmentBlock(options.environment);
    PROCESS_INFORMATION info{};
    const BOOL created = ::CreateProcessW(
        program.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
        CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT, environment.empty() ? nullptr : environment.data(),
        nullptr, &startup.StartupInfo, &info);
    const DWORD createError = ::GetLastError();
    ::DeleteProcThreadAttributeList(attributes);
    // Only the child holds its ends now, so our reads end when it does.
    for (HANDLE* h : {&childIn, &childOut, &childErr}) {
      ::CloseHandle(*h);
      *h = nullptr;
    }
    if (!created) {
      state.result.failure = "CreateProcessW failed with Windows error " + std::to_string(createError) + " for " +
                             options.program;
      closeAll();
      return false;
    }
    ::CloseHandle(info.hThread);
    state.process = info.hProcess;
    state.running = true;
    state.outputThread = std::thread(Drain, ourOut, &state.result.output);
    state.errorThread = std::thread(Drain, ourErr, &state.result.errors);
    if (options.input) state.inputThread = std::thread(Feed, ourIn, *options.input);
    return true;
  }

  static void Reap(SState& state, std::optional<std::chrono::milliseconds> limit) {
    const DWORD wait =
        limit ? static_cast<DWORD>(std::clamp<long long>(limit->count(), 0, INFINITE - 1)) : INFINITE;
    if (::WaitForSingleObject(state.process, wait) == WAIT_TIMEOUT) {
      state.result.timedOut = true;
      ::TerminateProcess(state.process, kChildKilledExitCode);
      ::WaitForSingleObject(state.process, INFINITE);
    }
    DWORD code = 0;
    if (::GetExitCodeProcess(state.process, &code)) {
      state.result.exitCode = static_cast<int>(code);
    } else {
      state.result.failure = SystemMessage("GetExitCodeProcess");
    }
    ::CloseHandle(state.process);
    state.process = nullptr;
    state.running = false;
  }

  static void Terminate(SState& state) { ::TerminateProcess(state.process, kChildKilledExitCode); }

  static void CloseAll(SState& state) {
    if (state.process != nullptr) ::CloseHandle(state.process);
    state.process = nullptr;
  }
#else
  struct SState {
    pid_t pid = -1;
    bool running = false;
    std::thread inputThread, outputThread, errorThread;
    SChildResult result;
  };

  static void Drain(int fd, std::string* into) {
    char buffer[4096];
    for (;;) {
      const ssize_t read = ::read(fd, buffer, sizeof buffer);
      if (read > 0) {
        into->append(buffer, static_cast<size_t>(read));
      } else if (read == 0 || errno != EINTR) {
        break;
      }
    }
    ::close(fd);
  }

  static void Feed(int fd, std::string text) {
    // A child that ends without reading everything breaks the pipe. SIGPIPE, blocked in
    // this thread only, stays pending here and goes with the thread; the write fails
    // with EPIPE and the rest is dropped.
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
    for (size_t at = 0; at < text.size();) {
      const ssize_t written = ::write(fd, text.data() + at, text.size() - at);
      if (written > 0) {
        at += static_cast<size_t>(written);
      } else if (written < 0 && errno != EINTR) {
        break;
      }
    }
    ::close(fd);
  }

  static bool Launch(const SChildOptions& options, SState& state) {
    // Everything the child needs is made before fork: between fork and exec it may only
    // make async-signal-safe calls, since other threads (readers of earlier children)
    // may hold the allocator's locks.
    std::vector<std::string> argumentStrings{options.program};
    argumentStrings.insert(argumentStrings.end(), options.arguments.begin(), options.arguments.end());
    std::vector<char*> argv;
    for (std::string& argument : argumentStrings) argv.push_back(argument.data());
    argv.push_back(nullptr);

    std::vector<std::string> environmentStrings;
    for (char** entry = environ; *entry != nullptr; ++entry) {
      const std::string text = *entry;
      bool replaced = false;
      for (const auto& extra : options.environment) replaced = replaced || text.starts_with(extra.first + "=");
      if (!replaced) environmentStrings.push_back(text);
    }
    for (const auto& [name, value] : options.environment) environmentStrings.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : environmentStrings) envp.push_back(entry.data());
    envp.push_back(nullptr);

    // All our descriptors are close-on-exec; the status pipe tells exec's failure (its
    // errno) from a start (end of file when exec closes it).
    int input[2] = {-1, -1}, output[2] = {-1, -1}, errors[2] = {-1, -1}, status[2] = {-1, -1};
    auto closeAll = [&] {
      for (int* pair : {input, output, errors, status}) {
        for (int i = 0; i < 2; ++i) {
          if (pair[i] >= 0) ::close(pair[i]);
          pair[i] = -1;
        }
      }
    };
    const bool piped = (options.input ? ::pipe2(input, O_CLOEXEC) == 0
                                      : (input[0] = ::open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0) &&
                       ::pipe2(output, O_CLOEXEC) == 0 && ::pipe2(errors, O_CLOEXEC) == 0 &&
                       ::pipe2(status, O_CLOEXEC) == 0;
    if (!piped) {
      state.result.failure = std::string("making the pipes failed: ") + std::strerror(errno);
      closeAll();
      return false;
    }
    const pid_t pid = ::fork();
    if (pid < 0) {
      state.result.failure = std::string("fork failed: ") + std::strerror(errno);
      closeAll();
      return false;
    }
    if (pid == 0) {
      const int targets[] = {input[0], output[1], errors[1]};
      bool ready = true;
      for (int fd = 0; fd < 3 && ready; ++fd) {
        // dup2 onto itself would keep close-on-exec set; clear it instead.
        ready = targets[fd] == fd ? ::fcntl(fd, F_SETFD, 0) == 0 : ::dup2(targets[fd], fd) == fd;
      }
      if (ready) ::execve(argv[0], argv.data(), envp.data());
      const int error = errno;
      [[maybe_unused]] const ssize_t ignored = ::write(status[1], &error, sizeof error);
      ::_exit(127);
    }
    ::close(status[1]);
    status[1] = -1;
    int execError = 0;
    ssize_t got;
    while ((got = ::read(status[0], &execError, sizeof execError)) < 0 && errno == EINTR) {
    }
    if (got > 0) {
      ::waitpid(pid, nullptr, 0);
      state.result.failure = "cannot run " + options.program + ": " + std::strerror(execError);
      closeAll();
      return false;
    }
    state.pid = pid;
    state.running = true;
    state.outputThread = std::thread(Drain, output[0], &state.result.output);
    state.errorThread = std::thread(Drain, errors[0], &state.result.errors);
    output[0] = errors[0] = -1;
    if (options.input) {
      state.inputThread = std::thread(Feed, input[1], *options.input);
      input[1] = -1;
    }
    closeAll();  // the child's ends and the status pipe
    return true;
  }

  static void Reap(SState& state, std::optional<std::chrono::milliseconds> limit) {
    int status = 0;
    pid_t reaped = 0;
    if (limit) {
      const auto deadline = std::chrono::steady_clock::now() + *limit;
      while ((reaped = ::waitpid(state.pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
      if (reaped == 0) {
        state.result.timedOut = true;
        ::kill(state.pid, SIGKILL);
      }
    }
    if (reaped == 0) {
      while ((reaped = ::waitpid(state.pid, &status, 0)) < 0 && errno == EINTR) {
      }
    }
    if (reaped == state.pid) {
      state.result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    } else {
      state.result.failure = std::string("waitpid failed: ") + std::strerror(errno);
    }
    state.pid = -1;
    state.running = false;
  }

  // Never with pid -1 or 0, which would signal every process of the user or the group.
  static void Terminate(SState& state) {
    if (state.pid > 0) ::kill(state.pid, SIGKILL);
  }

  static void CloseAll(SState&) {}
#endif

  std::unique_ptr<SState> state_;
};

// Runs the program to its end (or to `limit`) and returns what it did.
inline SChildResult RunChild(const SChildOptions& options,
                             std::optional<std::chrono::milliseconds> limit = std::nullopt) {
  CChildProcess child;
  if (!child.Start(options)) return SChildResult{false, false, -1, {}, {}, child.Failure()};
  return child.Wait(limit);
}

// The child that child_process_test.cpp starts: it reports what it was given, so the
// test can tell that arguments, input and environment arrive unchanged.
//   args ARG…    each ARG as the C runtime split it, "a HEX" a line; on Windows also
//                "w HEX" for each as CommandLineToArgvW splits the wide command line
//   env NAME     NAME's value, or "(unset)"
//   copy N       N bytes of 'e' on standard error, then standard input to standard output
//   exit N       ends with exit code N
//   sleep        sleeps for a minute
// Output is binary on Windows too, so the test sees the bytes written here.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#endif

namespace {

void PrintHex(const char* tag, const std::string& bytes) {
  std::string line = std::string(tag) + " ";
  for (const unsigned char c : bytes) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02x", c);
    line += digits;
  }
  std::printf("%s\n", line.c_str());
}

#ifdef _WIN32
void PrintWideArguments() {
  int count = 0;
  wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 2; arguments != nullptr && i < count; ++i) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, arguments[i], -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size > 0 ? size - 1 : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, arguments[i], -1, utf8.data(), size, nullptr, nullptr);
    PrintHex("w", utf8);
  }
  ::LocalFree(arguments);
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  ::_setmode(::_fileno(stderr), _O_BINARY);
#endif
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "args") {
    for (int i = 2; i < argc; ++i) PrintHex("a", argv[i]);
#ifdef _WIN32
    PrintWideArguments();
#endif
  } else if (mode == "env" && argc == 3) {
    const char* value = std::getenv(argv[2]);
    std::printf("%s\n", value ? value : "(unset)");
  } else if (mode == "copy" && argc == 3) {
    const std::string errors(std::strtoul(argv[2], nullptr, 10), 'e');
    std::fwrite(errors.data(), 1, errors.size(), stderr);
    char buffer[4096];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, stdin)) > 0;) std::fwrite(buffer, 1, read, stdout);
  } else if (mode == "exit" && argc == 3) {
    return std::atoi(argv[2]);
  } else if (mode == "sleep") {
    std::this_thread::sleep_for(std::chrono::minutes(1));
  } else {
    std::fputs("child_echo: unknown mode\n", stderr);
    return 100;
  }
  return 0;
}

#pragma once
// An Xvfb of the test's own on a free display number, stopped with the test, and a
// connection to it. Running() is false when no Xvfb could be started (tests then skip).
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

class CTestServer {
 public:
  CTestServer() {
    for (int number = 700 + static_cast<int>(getpid() % 200); number < 1000; ++number) {
      const std::string socket = "/tmp/.X11-unix/X" + std::to_string(number);
      if (access(socket.c_str(), F_OK) == 0) continue;
      name_ = ":" + std::to_string(number);
      pid_ = fork();
      if (pid_ == 0) {
        const char* argv[] = {ZV_XVFB, name_.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp", nullptr};
        execv(ZV_XVFB, const_cast<char* const*>(argv));
        _exit(127);
      }
      for (int i = 0; i < 100 && access(socket.c_str(), F_OK) != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      connection_ = xcb_connect(name_.c_str(), nullptr);
      if (connection_ != nullptr && xcb_connection_has_error(connection_) == 0) {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
      }
      return;
    }
  }
  ~CTestServer() {
    if (connection_ != nullptr) xcb_disconnect(connection_);
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool Running() const { return root_ != 0; }
  const std::string& Name() const { return name_; }
  xcb_connection_t* Connection() const { return connection_; }

  // Warps the pointer as another program would; returns once the server has done it.
  void Warp(int x, int y) {
    xcb_warp_pointer(connection_, XCB_NONE, root_, 0, 0, 0, 0, static_cast<int16_t>(x), static_cast<int16_t>(y));
    std::free(xcb_get_input_focus_reply(connection_, xcb_get_input_focus(connection_), nullptr));
  }

 private:
  std::string name_;
  pid_t pid_ = -1;
  xcb_connection_t* connection_ = nullptr;
  uint32_t root_ = 0;
};

}  // namespace

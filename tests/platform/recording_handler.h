#pragma once
// A main window handler, a layered window handler and a frame worker that write what
// happens to them, with the clock's time, into one shared log.
#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"

class CEventLog {
 public:
  explicit CEventLog(IClock& clock) : clock_(clock) {}
  void Add(const std::string& event) {
    std::lock_guard lock(mutex_);
    events_.push_back(std::to_string(clock_.Milliseconds()) + " " + event);
  }
  std::vector<std::string> Events() const {
    std::lock_guard lock(mutex_);
    return events_;
  }

 private:
  IClock& clock_;
  mutable std::mutex mutex_;
  std::vector<std::string> events_;
};

class CRecordingHandler : public IMainWindowHandler {
 public:
  explicit CRecordingHandler(CEventLog& log) : log_(log) {}
  // Test hooks, called after the event is logged.
  std::function<void(IMainWindow&)> onCreate;
  std::function<void(int)> onTimer;
  std::function<void(uint32_t, intptr_t)> onMessage;
  IMainWindow* window = nullptr;

  void OnCreate(IMainWindow& created) override {
    window = &created;
    log_.Add("create");
    if (onCreate) onCreate(created);
  }
  void OnDestroy() override { log_.Add("destroy"); }
  void OnTimer(int timerId) override {
    log_.Add("timer " + std::to_string(timerId));
    if (onTimer) onTimer(timerId);
  }
  void OnAppMessage(uint32_t message, intptr_t param) override {
    log_.Add("message " + std::to_string(message) + " " + std::to_string(param));
    if (onMessage) onMessage(message, param);
  }
  void OnCommand(int commandId) override { log_.Add("command " + std::to_string(commandId)); }

 private:
  CEventLog& log_;
};

// Logs layered window messages as "<name> <message number> x,y", with the name each
// window was given by Name().
class CRecordingLayeredHandler : public ILayeredWindowHandler {
 public:
  explicit CRecordingLayeredHandler(CEventLog& log) : log_(log) {}
  // Test hook, called after a mouse message is logged.
  std::function<void(ILayeredWindow&, ELayeredMouse)> onMouse;

  void Name(ILayeredWindow& window, std::string name) { names_.emplace_back(&window, std::move(name)); }
  bool OnMouse(ILayeredWindow& window, ELayeredMouse message, int x, int y) override {
    log_.Add(NameOf(window) + " " + std::to_string(static_cast<uint32_t>(message)) + " " + std::to_string(x) + "," +
             std::to_string(y));
    if (onMouse) onMouse(window, message);
    return true;
  }
  bool OnCommand(ILayeredWindow& window, int commandId) override {
    log_.Add(NameOf(window) + " command " + std::to_string(commandId));
    return true;
  }
  void OnMenuOpened(ILayeredWindow& window, intptr_t param) override {
    log_.Add(NameOf(window) + " menu opened " + std::to_string(param));
  }
  void OnDestroy(ILayeredWindow& window) override { log_.Add(NameOf(window) + " destroyed"); }

 private:
  std::string NameOf(const ILayeredWindow& window) const {
    for (const auto& [named, name] : names_) {
      if (named == &window) return name;
    }
    return "?";
  }
  CEventLog& log_;
  std::vector<std::pair<const ILayeredWindow*, std::string>> names_;
};

// Steps until `frameLimit` frames have run (0: forever), sleeping `sleepMs` after each.
class CRecordingWorker : public IFrameWorker {
 public:
  CRecordingWorker(CEventLog& log, uint32_t sleepMs, uint64_t frameLimit = 0)
      : log_(log), sleepMs_(sleepMs), frameLimit_(frameLimit) {}
  std::atomic<bool> stop{false};
  std::atomic<uint64_t> steps{0};
  std::function<void()> onStep;

  void Begin() override { log_.Add("begin"); }
  bool KeepRunning() override { return !stop && (frameLimit_ == 0 || steps < frameLimit_); }
  uint32_t Step() override {
    log_.Add("step " + std::to_string(++steps));
    if (onStep) onStep();
    return sleepMs_;
  }
  void End() override { log_.Add("end"); }

 private:
  CEventLog& log_;
  uint32_t sleepMs_;
  uint64_t frameLimit_;
};

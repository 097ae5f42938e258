#pragma once
// Bounded integer counters. They count frames of a motion or image-layer row, the rows
// themselves, and the progress of balloon text; a step below 1 slows a counter down
// instead of moving it backwards.
#include <cstdint>

class ICounter {
 public:
  virtual ~ICounter();
  virtual int Get() const = 0;
  virtual void Set(int value) = 0;
  // One step from the start towards the end; never passes the end.
  virtual void StepForward() = 0;
  // One step from the end towards the start; never passes the start.
  virtual void StepBack() = 0;
  virtual bool AtStart() const = 0;
  virtual bool AtEnd() const = 0;
};

// Counts up when end >= start, otherwise down. A step above 0 moves the value by the
// step on every call; a step of 0 or below moves it by 1 on every (-step)-th call,
// counted in the sub-count, so steps 0 and -1 both move on every call.
class CRootCounter : public ICounter {
 public:
  CRootCounter() = default;

  int Get() const override { return value_; }
  void Set(int value) override { value_ = value; }
  void StepForward() override;
  void StepBack() override;
  bool AtStart() const override { return value_ == start_; }
  bool AtEnd() const override { return value_ == end_; }

  int Start() const { return start_; }
  int End() const { return end_; }
  int Step() const { return step_; }
  int SubCount() const { return subCount_; }
  void SetStart(int start) { start_ = start; }
  void SetEnd(int end) { end_ = end; }
  void SetStep(int step) { step_ = step; }

  // Counts afresh from 0 towards `end`, one per call.
  void Restart(int end);

 private:
  // How far this call moves the value in `direction` (+1 or -1), keeping the sub-count.
  int64_t Distance(int direction);

  int value_ = 0;
  int start_ = 0;
  int end_ = INT32_MAX;
  int step_ = 1;
  int subCount_ = 0;
};

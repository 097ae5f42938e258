#pragma once
// One record of the run trace: an event name and ordered fields, written by a backend
// that keeps a trace (the headless one) as a JSON line.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

class CTraceRecord {
 public:
  using Value = std::variant<int64_t, bool, std::u16string, std::vector<std::u16string>>;

  explicit CTraceRecord(std::string event) : event_(std::move(event)) {}

  // Out of line: GCC 12 misreports a variant temporary moved in an inlined Add as
  // maybe-uninitialized.
  CTraceRecord& Add(std::string key, Value value);

  const std::string& Event() const { return event_; }
  const std::vector<std::pair<std::string, Value>>& Fields() const { return fields_; }

  // The record as one line of JSON: {"frame":F,"event":"…",fields…}.
  std::string ToJson(uint64_t frame) const;

 private:
  std::string event_;
  std::vector<std::pair<std::string, Value>> fields_;
};

// Where the core writes its trace records; a backend without a trace ignores them.
// Safe from any thread.
class ITraceSink {
 public:
  virtual ~ITraceSink() = default;
  virtual void Trace(const CTraceRecord& record) = 0;
  // Whether records are kept at all; callers skip building them otherwise, so a run
  // without a trace spends nothing on it.
  virtual bool Tracing() const { return true; }
};

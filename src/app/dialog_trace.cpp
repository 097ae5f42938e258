#include "app/dialog_trace.h"

#include <utility>

CTraceRecord DialogTraceRecord(CTraceRecord::Value id, const std::u16string& title,
                               std::vector<std::u16string> texts, const SRect& bounds) {
  CTraceRecord record("dialog");
  record.Add("id", std::move(id))
      .Add("title", title)
      .Add("texts", std::move(texts))
      .Add("x", int64_t{bounds.left})
      .Add("y", int64_t{bounds.top})
      .Add("width", int64_t{bounds.Width()})
      .Add("height", int64_t{bounds.Height()});
  return record;
}

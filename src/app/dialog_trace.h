#pragma once
// The trace record of a dialog that opens: which one (103, 157 or "area"), its title,
// the texts of its controls in order, and its place on the desktop.
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/trace_record.h"

CTraceRecord DialogTraceRecord(CTraceRecord::Value id, const std::u16string& title,
                               std::vector<std::u16string> texts, const SRect& bounds);

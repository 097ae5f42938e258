#include "platform/trace_record.h"

#include <cstdio>

#include "support/utf.h"

namespace {

void AppendJsonString(std::string& out, const std::string& utf8) {
  out += '"';
  for (unsigned char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
}

struct ValueWriter {
  std::string& out;
  void operator()(int64_t v) const { out += std::to_string(v); }
  void operator()(bool v) const { out += v ? "true" : "false"; }
  void operator()(const std::u16string& v) const { AppendJsonString(out, ToUtf8(v)); }
  void operator()(const std::vector<std::u16string>& list) const {
    out += '[';
    for (size_t i = 0; i < list.size(); ++i) {
      if (i) out += ',';
      AppendJsonString(out, ToUtf8(list[i]));
    }
    out += ']';
  }
};

}  // namespace

CTraceRecord& CTraceRecord::Add(std::string key, Value value) {
  fields_.emplace_back(std::move(key), std::move(value));
  return *this;
}

std::string CTraceRecord::ToJson(uint64_t frame) const {
  std::string out = "{\"frame\":" + std::to_string(frame) + ",\"event\":";
  AppendJsonString(out, event_);
  for (const auto& [key, value] : fields_) {
    out += ',';
    AppendJsonString(out, key);
    out += ':';
    std::visit(ValueWriter{out}, value);
  }
  out += '}';
  return out;
}

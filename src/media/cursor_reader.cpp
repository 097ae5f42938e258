#include "media/cursor_reader.h"

#include <algorithm>
#include <cstdlib>

#include "media/cursor_bytes.h"

namespace {

constexpr uint16_t kIconType = 1;
constexpr uint16_t kCursorType = 2;
constexpr int kStandardCursorSide = 32;

// Reads an icon directory of the accepted type; icons (type 1) have no hotspot.
std::optional<SCursorFrame> ReadIconDirectory(std::string_view file, bool acceptIcons) {
  const auto reserved = ReadU16(file, 0);
  const auto type = ReadU16(file, 2);
  const auto count = ReadU16(file, 4);
  if (!reserved || *reserved != 0 || !type || !count || *count == 0) return std::nullopt;
  if (*type != kCursorType && !(acceptIcons && *type == kIconType)) return std::nullopt;

  size_t best = 0;
  int bestDistance = -1;
  for (size_t i = 0; i < *count; ++i) {
    const size_t entry = 6 + 16 * i;
    const auto width = ReadLe(file, entry, 1);
    const auto height = ReadLe(file, entry + 1, 1);
    if (!width || !height || !ReadU32(file, entry + 12)) return std::nullopt;
    // A stored 0 means 256.
    const int w = *width == 0 ? 256 : static_cast<int>(*width);
    const int h = *height == 0 ? 256 : static_cast<int>(*height);
    const int distance = std::abs(w - kStandardCursorSide) + std::abs(h - kStandardCursorSide);
    if (bestDistance < 0 || distance < bestDistance) {
      best = entry;
      bestDistance = distance;
    }
  }
  const uint32_t offset = *ReadU32(file, best + 12);
  if (offset >= file.size()) return std::nullopt;
  // The stated size is often too small in real files, so the image may run to the end
  // of the file; its own header says how much it needs.
  SCursorFrame frame;
  frame.image = DecodeIconImage(file.substr(offset));
  if (frame.image.Empty()) return std::nullopt;
  if (*type == kCursorType) {
    frame.hotspotX = std::min<int>(*ReadU16(file, best + 4), frame.image.Width() - 1);
    frame.hotspotY = std::min<int>(*ReadU16(file, best + 6), frame.image.Height() - 1);
  }
  return frame;
}

}  // namespace

std::optional<SCursorFrame> ReadCurFile(std::string_view file) { return ReadIconDirectory(file, false); }

std::optional<SCursorImage> ReadCursorFile(std::string_view file) {
  if (file.substr(0, 4) == "RIFF") return ReadAniFile(file);
  std::optional<SCursorFrame> frame = ReadCurFile(file);
  if (!frame) return std::nullopt;
  SCursorImage cursor;
  cursor.frames.push_back(std::move(*frame));
  cursor.steps.push_back({0, 0});
  return cursor;
}

// Animated cursors live here too: their frames are icon directories.
namespace {

struct SChunk {
  std::string_view id;
  std::string_view data;
};

// Walks the chunks of a RIFF body; stops at the first chunk that does not fit.
template <class Visit>
void ForEachChunk(std::string_view body, Visit visit) {
  size_t position = 0;
  while (body.size() - position >= 8) {
    const uint32_t size = *ReadU32(body, position + 4);
    if (body.size() - position - 8 < size) return;
    visit(SChunk{body.substr(position, 4), body.substr(position + 8, size)});
    // Chunks are padded to an even length.
    position += 8 + static_cast<size_t>(size) + (size & 1);
    if (position > body.size()) return;
  }
}

std::optional<std::vector<uint32_t>> ReadU32Table(std::string_view data, uint32_t count) {
  if (data.size() / 4 < count) return std::nullopt;
  std::vector<uint32_t> table(count);
  for (uint32_t i = 0; i < count; ++i) table[i] = *ReadU32(data, 4 * static_cast<size_t>(i));
  return table;
}

constexpr uint32_t kFramesAreIcons = 1;
constexpr uint32_t kJiffiesPerSecond = 60;

}  // namespace

std::optional<SCursorImage> ReadAniFile(std::string_view file) {
  if (file.size() < 12 || file.substr(0, 4) != "RIFF" || file.substr(8, 4) != "ACON") return std::nullopt;
  std::string_view header, rate, sequence;
  SCursorImage cursor;
  bool badFrame = false;
  ForEachChunk(file.substr(12), [&](const SChunk& chunk) {
    if (chunk.id == "anih" && header.empty()) header = chunk.data;
    if (chunk.id == "rate" && rate.empty()) rate = chunk.data;
    if (chunk.id == "seq " && sequence.empty()) sequence = chunk.data;
    if (chunk.id == "LIST" && chunk.data.substr(0, 4) == "fram" && cursor.frames.empty()) {
      ForEachChunk(chunk.data.substr(4), [&](const SChunk& icon) {
        if (icon.id != "icon") return;
        std::optional<SCursorFrame> frame = ReadIconDirectory(icon.data, true);
        if (frame) {
          cursor.frames.push_back(std::move(*frame));
        } else {
          badFrame = true;
        }
      });
    }
  });
  const auto frameCount = ReadU32(header, 4);
  const auto stepCount = ReadU32(header, 8);
  const auto displayRate = ReadU32(header, 28);
  const auto flags = ReadU32(header, 32);
  if (!frameCount || !stepCount || !displayRate || !flags || !(*flags & kFramesAreIcons)) return std::nullopt;
  if (badFrame || cursor.frames.empty() || cursor.frames.size() < *frameCount) return std::nullopt;

  const uint32_t steps = *stepCount == 0 ? *frameCount : *stepCount;
  std::optional<std::vector<uint32_t>> order;
  if (!sequence.empty() && !(order = ReadU32Table(sequence, steps))) return std::nullopt;
  std::optional<std::vector<uint32_t>> jiffies;
  if (!rate.empty() && !(jiffies = ReadU32Table(rate, steps))) return std::nullopt;
  if (!order && steps > cursor.frames.size()) return std::nullopt;

  for (uint32_t i = 0; i < steps; ++i) {
    const uint32_t frame = order ? (*order)[i] : i;
    if (frame >= cursor.frames.size()) return std::nullopt;
    const uint64_t duration = static_cast<uint64_t>(jiffies ? (*jiffies)[i] : *displayRate) * 1000 / kJiffiesPerSecond;
    cursor.steps.push_back({static_cast<int>(frame), static_cast<uint32_t>(std::min<uint64_t>(duration, UINT32_MAX))});
  }
  if (cursor.steps.empty()) return std::nullopt;
  return cursor;
}

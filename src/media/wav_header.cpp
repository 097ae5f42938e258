#include "media/wav_header.h"

namespace {

// Reads little-endian fields from the front of a byte range; any read past the end
// marks the cursor failed and yields 0.
class CByteCursor {
 public:
  explicit CByteCursor(std::string_view bytes) : bytes_(bytes) {}

  bool Tag(const char (&tag)[5]) {
    if (!Has(4)) return false;
    const bool equal = bytes_.substr(position_, 4) == std::string_view(tag, 4);
    position_ += 4;
    return equal;
  }
  uint16_t U16() { return static_cast<uint16_t>(Unsigned(2)); }
  uint32_t U32() { return static_cast<uint32_t>(Unsigned(4)); }
  bool Skip(size_t count) {
    if (!Has(count)) return false;
    position_ += count;
    return true;
  }
  bool Ok() const { return ok_; }
  size_t Position() const { return position_; }

 private:
  bool Has(size_t count) {
    if (bytes_.size() - position_ < count) ok_ = false;
    return ok_;
  }
  uint64_t Unsigned(size_t count) {
    if (!Has(count)) return 0;
    uint64_t value = 0;
    for (size_t i = 0; i < count; ++i) {
      value |= static_cast<uint64_t>(static_cast<uint8_t>(bytes_[position_ + i])) << (8 * i);
    }
    position_ += count;
    return value;
  }

  std::string_view bytes_;
  size_t position_ = 0;
  bool ok_ = true;
};

}  // namespace

std::optional<SWavInfo> ParseWavHeader(std::string_view file) {
  CByteCursor in(file);
  if (!in.Tag("RIFF")) return std::nullopt;
  in.U32();  // the RIFF size is not trusted
  if (!in.Tag("WAVE") || !in.Tag("fmt ")) return std::nullopt;
  const uint32_t formatSize = in.U32();

  SWavInfo info;
  SPcmFormat& format = info.format;
  format.formatTag = in.U16();
  if (!in.Ok() || format.formatTag != 1) return std::nullopt;
  format.channels = in.U16();
  format.samplesPerSecond = in.U32();
  format.averageBytesPerSecond = in.U32();
  format.blockAlign = in.U16();
  format.bitsPerSample = in.U16();
  if (formatSize != 16 && !in.Skip(in.U16())) return std::nullopt;

  if (!in.Ok()) return std::nullopt;
  CByteCursor probe = in;
  if (probe.Tag("fact")) {
    in.Skip(4);
    in.U32();  // chunk size
    in.U32();  // sample count
  }
  if (!in.Tag("data")) return std::nullopt;
  info.dataLength = in.U32();
  if (!in.Ok()) return std::nullopt;
  info.dataOffset = static_cast<uint32_t>(in.Position());
  return info;
}

std::optional<SWavSound> DecodeWav(std::string_view file) {
  const std::optional<SWavInfo> info = ParseWavHeader(file);
  if (!info || file.size() - info->dataOffset < info->dataLength) return std::nullopt;
  return SWavSound{*info, file.substr(info->dataOffset, info->dataLength)};
}

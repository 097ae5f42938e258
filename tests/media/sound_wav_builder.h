#pragma once
// Builds WAV files chunk by chunk for the loader tests.
#include <cstdint>
#include <string>
#include <string_view>

class CWavBuilder {
 public:
  CWavBuilder& Raw(std::string_view bytes) {
    body_ += bytes;
    return *this;
  }
  CWavBuilder& U16(uint32_t value) {
    body_.push_back(static_cast<char>(value & 0xFF));
    body_.push_back(static_cast<char>((value >> 8) & 0xFF));
    return *this;
  }
  CWavBuilder& U32(uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
  // A "fmt " chunk of `size` bytes; sizes other than 16 carry an extra-size field.
  CWavBuilder& Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t size = 16,
                   uint16_t extra = 0) {
    const uint16_t align = static_cast<uint16_t>(channels * ((bits + 7) / 8));
    Raw("fmt ").U32(size).U16(tag).U16(channels).U32(rate).U32(rate * align).U16(align).U16(bits);
    if (size != 16) U16(extra).Raw(std::string(extra, '\0'));
    return *this;
  }
  CWavBuilder& Chunk(std::string_view id, std::string_view data) {
    Raw(id).U32(static_cast<uint32_t>(data.size())).Raw(data);
    return *this;
  }
  // The file: "RIFF", its size, "WAVE" and the body.
  std::string File() const {
    CWavBuilder header;
    header.Raw("RIFF").U32(static_cast<uint32_t>(body_.size() + 4)).Raw("WAVE");
    return header.body_ + body_;
  }

 private:
  std::string body_;
};

// A mono 8-bit PCM file at `rate` with `samples` bytes of data.
inline std::string MonoPcm8(uint32_t rate, const std::string& samples) {
  return CWavBuilder().Fmt(1, 1, rate, 8).Chunk("data", samples).File();
}

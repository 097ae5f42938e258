#include "platform/win32/win32_text.h"

#include "platform/win32/win32_system.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr int kDefaultPixelsPerInch = 96;
constexpr int kMaxWeight = 1000;
constexpr char32_t kLastBmpCode = 0xFFFF;
// GetFontData takes the table tag with its first letter in the low byte.
constexpr DWORD kCmapTag = 'c' | ('m' << 8) | ('a' << 16) | (static_cast<DWORD>('p') << 24);

// The outline format GetGlyphOutlineW is asked for, and the highest level it gives.
struct SSystemFormat {
  UINT request = GGO_GRAY8_BITMAP;
  int levels = 64;
};

// IFont's format numbers are the system's; an unknown one is drawn in 64 levels and
// brought to its own range afterwards, as the other backends do.
SSystemFormat SystemFormatOf(int format) {
  switch (format) {
    case GLYPH_FORMAT_MONO: return {GGO_BITMAP, 1};
    case GLYPH_FORMAT_GRAY2: return {GGO_GRAY2_BITMAP, 4};
    case GLYPH_FORMAT_GRAY4: return {GGO_GRAY4_BITMAP, 16};
    default: return {GGO_GRAY8_BITMAP, 64};
  }
}

MAT2 IdentityMatrix() {
  MAT2 matrix{};
  matrix.eM11.value = 1;
  matrix.eM22.value = 1;
  return matrix;
}

class CWin32Font final : public IFont {
 public:
  CWin32Font(const SFontDescription& description, HFONT font, HDC dc, HGDIOBJ previous)
      : description_(description), font_(font), dc_(dc), previous_(previous) {}

  CWin32Font(const CWin32Font&) = delete;
  CWin32Font& operator=(const CWin32Font&) = delete;

  ~CWin32Font() override {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(font_);
  }

  const SFontDescription& Description() const override { return description_; }

  SFontMetrics Metrics() override {
    TEXTMETRICW metrics{};
    if (!GetTextMetricsW(dc_, &metrics)) return {};
    return {static_cast<int>(metrics.tmHeight), static_cast<int>(metrics.tmAscent)};
  }

  bool Glyph(char32_t code, int format, SGlyphOutline& outline, std::vector<uint8_t>& bits) override {
    outline = {};
    const SSystemFormat system = SystemFormatOf(format);
    UINT request = system.request;
    UINT character = static_cast<UINT>(code);
    if (code > kLastBmpCode) {
      // Past U+FFFF the system takes only glyph numbers.
      request |= GGO_GLYPH_INDEX;
      character = CmapGlyphIndex(CharacterMap(), code);
    }
    const MAT2 identity = IdentityMatrix();
    GLYPHMETRICS metrics{};
    const DWORD size = GetGlyphOutlineW(dc_, character, request, &metrics, 0, nullptr, &identity);
    if (size == GDI_ERROR) return false;
    const int width = static_cast<int>(metrics.gmBlackBoxX);
    const int height = static_cast<int>(metrics.gmBlackBoxY);
    outline.advanceX = metrics.gmCellIncX;
    // The system reports a 1 × 1 box without bits for a glyph without ink.
    if (size == 0 || width <= 0 || height <= 0) return true;

    if (scratch_.size() < size) scratch_.resize(size);
    if (GetGlyphOutlineW(dc_, character, request, &metrics, size, scratch_.data(), &identity) ==
        GDI_ERROR) {
      outline = {};
      return false;
    }
    outline.blackBoxWidth = width;
    outline.blackBoxHeight = height;
    CopyBits(outline, format, system.levels, size, bits);
    // Some rasterisers give a blank box instead of none; it is a glyph without ink.
    if (std::all_of(bits.begin(), bits.end(), [](uint8_t byte) { return byte == 0; })) {
      outline.blackBoxWidth = 0;
      outline.blackBoxHeight = 0;
      return true;
    }
    outline.originX = metrics.gmptGlyphOrigin.x;
    outline.originY = metrics.gmptGlyphOrigin.y;
    return true;
  }

 private:
  // The system pads rows to 4 bytes as IFont does, so the bits copy straight over; rows
  // the system gave short stay blank rather than being read past the end.
  void CopyBits(const SGlyphOutline& outline, int format, int systemLevels, size_t size,
                std::vector<uint8_t>& bits) const {
    const size_t pitch = static_cast<size_t>(GlyphPitch(format, outline.blackBoxWidth));
    bits.assign(pitch * static_cast<size_t>(outline.blackBoxHeight), 0);
    std::copy_n(scratch_.begin(), std::min(bits.size(), size), bits.begin());
    const int levels = GlyphLevels(format);
    if (format == GLYPH_FORMAT_MONO || levels == systemLevels) return;
    for (uint8_t& level : bits) {
      const int value = std::min<int>(level, systemLevels);
      level = static_cast<uint8_t>((value * levels + systemLevels / 2) / systemLevels);
    }
  }

  // The font's character map, read the first time a code past U+FFFF is asked for;
  // empty when the font has none.
  std::span<const uint8_t> CharacterMap() {
    if (!cmap_) {
      cmap_.emplace();
      const DWORD size = GetFontData(dc_, kCmapTag, 0, nullptr, 0);
      if (size != GDI_ERROR && size > 0) {
        cmap_->resize(size);
        if (GetFontData(dc_, kCmapTag, 0, cmap_->data(), size) != size) cmap_->clear();
      }
    }
    return *cmap_;
  }

  SFontDescription description_;
  HFONT font_;
  HDC dc_;
  HGDIOBJ previous_;  // the device context's own font, put back before it is deleted
  std::vector<uint8_t> scratch_;  // the system's glyph bits; only grows
  std::optional<std::vector<uint8_t>> cmap_;
};

}  // namespace

CWin32Text::CWin32Text() : pixelsPerInch_(kDefaultPixelsPerInch) {
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return;
  const int perInch = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  if (perInch > 0) pixelsPerInch_ = perInch;
}

std::unique_ptr<IFont> CWin32Text::MakeFont(const SFontDescription& description) {
  LOGFONTW logical{};
  logical.lfHeight = description.height;
  logical.lfWeight = std::clamp(description.weight, 0, kMaxWeight);
  logical.lfCharSet = DEFAULT_CHARSET;
  logical.lfQuality = ANTIALIASED_QUALITY;
  // The face field holds 31 characters and its terminator; a cut never splits a pair.
  const std::u16string& face = description.face;
  size_t length = std::min<size_t>(face.size(), LF_FACESIZE - 1);
  const auto isLead = [](char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
  if (length < face.size() && length > 0 && isLead(face[length - 1])) --length;
  std::copy_n(face.begin(), length, logical.lfFaceName);

  HFONT font = CreateFontIndirectW(&logical);
  if (font == nullptr) return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) {
    DeleteObject(font);
    return nullptr;
  }
  HGDIOBJ previous = SelectObject(dc, font);
  if (previous == nullptr || previous == HGDI_ERROR) {
    DeleteDC(dc);
    DeleteObject(font);
    return nullptr;
  }
  return std::make_unique<CWin32Font>(description, font, dc, previous);
}

namespace {

// Big-endian fields of a font table, 0 past its end.
uint32_t Read16(std::span<const uint8_t> table, size_t at) {
  if (at > table.size() || table.size() - at < 2) return 0;
  return (uint32_t{table[at]} << 8) | table[at + 1];
}

uint32_t Read32(std::span<const uint8_t> table, size_t at) {
  if (at > table.size() || table.size() - at < 4) return 0;
  return (Read16(table, at) << 16) | Read16(table, at + 2);
}

// Subtables of 32-bit character codes: Unicode's own platform or Windows' full
// repertoire encoding.
bool IsFullUnicode(uint32_t platform, uint32_t encoding) {
  return platform == 0 || (platform == 3 && encoding == 10);
}

// The glyph of `code` in a format 12 (sequential) or 13 (many-to-one) subtable.
uint16_t GroupGlyph(std::span<const uint8_t> table, size_t subtable, char32_t code) {
  constexpr size_t kHeader = 16;
  constexpr size_t kGroup = 12;
  const uint32_t format = Read16(table, subtable);
  if (table.size() - subtable < kHeader) return 0;
  // Groups the table claims beyond its end are not there.
  const size_t room = (table.size() - subtable - kHeader) / kGroup;
  const size_t groups = std::min<size_t>(Read32(table, subtable + 12), room);
  // Groups are sorted by their first code and do not overlap.
  size_t low = 0;
  size_t high = groups;
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    const size_t group = subtable + kHeader + middle * kGroup;
    const uint32_t first = Read32(table, group);
    const uint32_t last = Read32(table, group + 4);
    if (code < first) {
      high = middle;
    } else if (code > last) {
      low = middle + 1;
    } else {
      const uint64_t start = Read32(table, group + 8);
      const uint64_t glyph = format == 12 ? start + (code - first) : start;
      return glyph <= 0xFFFF ? static_cast<uint16_t>(glyph) : 0;
    }
  }
  return 0;
}

}  // namespace

uint16_t CmapGlyphIndex(std::span<const uint8_t> table, char32_t code) {
  constexpr size_t kRecordsAt = 4;
  constexpr size_t kRecord = 8;
  const size_t room = table.size() >= kRecordsAt ? (table.size() - kRecordsAt) / kRecord : 0;
  const size_t records = std::min<size_t>(Read16(table, 2), room);
  // A sequential subtable maps each code to a glyph of its own; it goes first.
  for (const uint32_t wanted : {12u, 13u}) {
    for (size_t i = 0; i < records; ++i) {
      const size_t record = kRecordsAt + i * kRecord;
      const size_t subtable = Read32(table, record + 4);
      const bool unicode = IsFullUnicode(Read16(table, record), Read16(table, record + 2));
      if (!unicode || subtable >= table.size() || Read16(table, subtable) != wanted) {
        continue;
      }
      if (const uint16_t glyph = GroupGlyph(table, subtable, code); glyph != 0) return glyph;
    }
  }
  return 0;
}

#include "app/settings_file.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "support/file_system.h"
#include "support/string_list.h"

namespace {

constexpr char16_t kFileName[] = u"app.cfg";
constexpr int kNotSet = -100;
constexpr int kMaxCoordinate = 1 << 24;
constexpr int kScaleFirst = 32776;
constexpr double kScaleFactors[] = {3.0, 2.5, 2.0, 1.75, 1.5, 1.25, 1.0, 0.75, 0.5, 0.25};

}  // namespace

std::optional<double> ScaleFactorOf(int scaleId) {
  if (scaleId < kScaleFirst || scaleId >= kScaleFirst + 10) return std::nullopt;
  return kScaleFactors[scaleId - kScaleFirst];
}

int LeadingInteger(std::u16string_view text) {
  size_t at = 0;
  bool negative = false;
  if (at < text.size() && (text[at] == u'-' || text[at] == u'+')) negative = text[at++] == u'-';
  long long value = 0;
  for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
    // Saturates rather than overflowing on an absurdly long number.
    if (value < 100000000000LL) value = value * 10 + (text[at] - u'0');
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return 2147483647;
  if (value < -2147483648LL) return -2147483647 - 1;
  return static_cast<int>(value);
}

void ParseAppSettings(std::string_view fileBytes, const SRect& desktop, SAppSettings& settings) {
  CStringList lines;
  lines.ParseTextLines(fileBytes);
  auto read = [&](std::u16string_view key) -> std::optional<int> {
    const int index = lines.FindKey(key);
    if (index < 0) return std::nullopt;
    return LeadingInteger(lines.ValueAt(index));
  };
  // Desktop coordinates far beyond any screen are cut to a bound, so the sums the
  // movers and windows make of a range and a character's size stay within int.
  auto coordinate = [&](std::u16string_view key) -> std::optional<int> {
    const std::optional<int> value = read(key);
    if (!value) return std::nullopt;
    return std::clamp(*value, -kMaxCoordinate, kMaxCoordinate);
  };
  if (auto value = read(u"LowQuality")) settings.lowQuality = *value != 0;
  if (auto value = coordinate(u"MoveScopeLeft")) settings.moveRange.left = *value;
  if (auto value = coordinate(u"MoveScopeTop")) settings.moveRange.top = *value;
  if (auto value = coordinate(u"MoveScopeRight")) settings.moveRange.right = *value;
  if (auto value = coordinate(u"MoveScopeBottom")) settings.moveRange.bottom = *value;
  if (auto value = read(u"ScaleID")) {
    settings.scaleId = *value;
    if (std::optional<double> factor = ScaleFactorOf(*value)) settings.scaleFactor = *factor;
  }
  if (auto value = read(u"AlphaID")) settings.opacityId = *value;
  if (auto value = read(u"UnMouse")) settings.mouseEnabled = *value != 0;
  if (auto value = read(u"WndTopOrBottom")) settings.windowLevel = *value;
  const SRect& range = settings.moveRange;
  // A range that is not set, or one with no room in it (a damaged file), is the desktop.
  if (range.left == kNotSet || range.top == kNotSet || range.right == kNotSet || range.bottom == kNotSet ||
      range.right <= range.left || range.bottom <= range.top) {
    settings.moveRange = desktop;
  }
}

void LoadAppSettings(const std::u16string& paramsFolder, const SRect& desktop, SAppSettings& settings) {
  const std::optional<std::string> bytes = ReadFileBytes(paramsFolder + kFileName, EFileKind::kState);
  ParseAppSettings(bytes ? *bytes : std::string(), desktop, settings);
}

bool SaveAppSettings(const std::u16string& paramsFolder, const SAppSettings& settings) {
  std::error_code ignored;
  std::filesystem::create_directories(ToNativePath(paramsFolder), ignored);
  CStringList lines;
  lines.SetNumber(u"LowQuality", settings.lowQuality ? 1 : 0);
  lines.SetNumber(u"MoveScopeLeft", settings.moveRange.left);
  lines.SetNumber(u"MoveScopeTop", settings.moveRange.top);
  lines.SetNumber(u"MoveScopeRight", settings.moveRange.right);
  lines.SetNumber(u"MoveScopeBottom", settings.moveRange.bottom);
  lines.SetNumber(u"ScaleID", settings.scaleId);
  lines.SetNumber(u"AlphaID", settings.opacityId);
  lines.SetNumber(u"UnMouse", settings.mouseEnabled ? 1 : 0);
  lines.SetNumber(u"WndTopOrBottom", settings.windowLevel);
  return lines.WriteTextLines(paramsFolder + kFileName);
}

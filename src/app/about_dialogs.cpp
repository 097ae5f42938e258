#include "app/about_dialogs.h"

#include <utility>

#include "app/product_texts.h"
#include "chardef/chara_info.h"
#include "media/image_load.h"

namespace {

constexpr char16_t kFontFace[] = u"MS UI Gothic";
constexpr int kFontPoints = 9;
constexpr char16_t kAboutTitleSuffix[] = u" について";
constexpr char16_t kAppAboutTitle[] = u"Zelvotta について";
constexpr char16_t kVersionLabel[] = u"Version:";
constexpr char16_t kWebsiteLabel[] = u"Website:";
constexpr char16_t kTermsColumnTitle[] = u"ライセンス";
constexpr int kTermsColumnWidth = 650;
// Where the logo goes, in pixels.
constexpr SRect kLogoBounds{92, 5, 92 + 185, 5 + 40};

// Sizes in dialog units.
constexpr int kAppAboutWidth = 210;
constexpr int kAppAboutHeight = 240;
constexpr int kCharaAboutWidth = 210;
constexpr int kCharaAboutHeight = 120;

// A rectangle in dialog units from its corner and size.
constexpr SRect Units(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

SDialogControl Control(int id, EDialogControl kind, SRect units, std::u16string text = {}) {
  SDialogControl control;
  control.id = id;
  control.kind = kind;
  control.bounds = DialogUnitsToPixels(units);
  control.text = std::move(text);
  return control;
}

SDialogControl Label(SRect units, std::u16string text) {
  return Control(-1, EDialogControl::Static, units, std::move(text));
}

SDialogControl Link(int id, SRect units, std::u16string_view url) {
  SDialogControl control = Control(id, EDialogControl::Link, units, LinkMarkup(url));
  control.url = std::u16string(url);
  return control;
}

SDialogControl Picture(int id, SRect pixels, const CImageLoad* image) {
  SDialogControl control;
  control.id = id;
  control.kind = EDialogControl::Picture;
  control.bounds = pixels;
  if (image != nullptr && image->HasBitmap()) control.image = {image->Pixels(), image->Width(), image->Height()};
  return control;
}

SDialogModel Dialog(int resourceId, std::u16string title, int widthUnits, int heightUnits, const SRect& moveRange) {
  SDialogModel dialog;
  dialog.resourceId = resourceId;
  dialog.title = std::move(title);
  dialog.fontFace = kFontFace;
  dialog.fontPoints = kFontPoints;
  const SRect size = DialogUnitsToPixels(Units(0, 0, widthUnits, heightUnits));
  dialog.bounds = CentredOn(moveRange, size.Width(), size.Height());
  return dialog;
}

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

bool StartsWithIgnoringCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (Lower(text[i]) != prefix[i]) return false;
  }
  return true;
}

}  // namespace

SRect DialogUnitsToPixels(const SRect& units) {
  auto across = [](int value) { return value * kDialogBaseUnitX / 4; };
  auto down = [](int value) { return value * kDialogBaseUnitY / 8; };
  return {across(units.left), down(units.top), across(units.right), down(units.bottom)};
}

SRect CentredOn(const SRect& range, int width, int height) {
  const int x = range.left + (range.Width() - width) / 2;
  const int y = range.top + (range.Height() - height) / 2;
  return {x, y, x + width, y + height};
}

std::u16string LinkMarkup(std::u16string_view url) {
  std::u16string markup = u"<a href=\"";
  markup.append(url).append(u"\">").append(url).append(u"</a>");
  return markup;
}

bool IsOpenableWebAddress(std::u16string_view url) {
  for (std::u16string_view scheme : {std::u16string_view(u"http://"), std::u16string_view(u"https://")}) {
    if (StartsWithIgnoringCase(url, scheme) && url.size() > scheme.size()) return true;
  }
  return false;
}

SDialogModel ApplicationAboutDialog(const CImageLoad* logo, const SRect& moveRange) {
  SDialogModel dialog = Dialog(kAppAboutDialogId, kAppAboutTitle, kAppAboutWidth, kAppAboutHeight, moveRange);
  std::vector<SDialogControl>& controls = dialog.controls;
  controls.push_back(Control(1001, EDialogControl::Static, Units(7, 34, 196, 8)));
  controls.push_back(Label(Units(7, 46, 40, 8), kVersionLabel));
  controls.push_back(Control(1002, EDialogControl::Static, Units(50, 46, 153, 8), std::u16string(kProductVersion)));
  controls.push_back(Label(Units(7, 58, 40, 8), kWebsiteLabel));
  controls.push_back(Link(kAppAboutLinkId, Units(50, 58, 153, 8), kProductWebAddress));
  controls.push_back(Control(1003, EDialogControl::Static, Units(7, 72, 196, 10), std::u16string(kProductRightsLine)));
  controls.push_back(Control(1004, EDialogControl::Static, Units(7, 86, 196, 18), std::u16string(kProductTermsNotice)));
  SDialogControl terms = Control(1025, EDialogControl::List, Units(7, 108, 196, 104), kTermsColumnTitle);
  terms.columnWidth = kTermsColumnWidth;
  terms.rows.assign(kProductTermsLines.begin(), kProductTermsLines.end());
  controls.push_back(std::move(terms));
  controls.push_back(Picture(1038, kLogoBounds, logo));
  controls.push_back(Control(kDialogOkId, EDialogControl::Button, Units(80, 218, 50, 14), u"OK"));
  return dialog;
}

SDialogModel CharacterAboutDialog(const CCharaInfo& info, const SRect& moveRange) {
  SDialogModel dialog =
      Dialog(kCharaAboutDialogId, info.displayName + kAboutTitleSuffix, kCharaAboutWidth, kCharaAboutHeight, moveRange);
  std::vector<SDialogControl>& controls = dialog.controls;
  controls.push_back(Control(1033, EDialogControl::Static, Units(7, 7, 196, 8), info.appName));
  controls.push_back(Label(Units(7, 21, 40, 8), kVersionLabel));
  controls.push_back(Control(1034, EDialogControl::Static, Units(50, 21, 153, 8), info.version));
  controls.push_back(Control(1035, EDialogControl::Static, Units(7, 35, 196, 16), info.copyright));
  controls.push_back(Label(Units(7, 57, 40, 8), kWebsiteLabel));
  controls.push_back(Link(kCharaAboutLinkId, Units(50, 57, 153, 8), info.url));
  // The picture sits where the character's data puts it, at its image's size.
  const SRect imageBounds = info.aboutImage != nullptr
                                ? SRect{info.aboutImageX, info.aboutImageY, info.aboutImageX + info.aboutImageWidth,
                                        info.aboutImageY + info.aboutImageHeight}
                                : SRect{};
  controls.push_back(Picture(1037, imageBounds, info.aboutImage));
  controls.push_back(Control(kDialogOkId, EDialogControl::Button, Units(80, 98, 50, 14), u"OK"));
  return dialog;
}

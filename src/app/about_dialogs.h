#pragma once
// The two about boxes as data: the application's (dialog 103) and a character's (157),
// with their titles, controls and places, centred on the move range.
#include <string>
#include <string_view>

#include "platform/dialog_model.h"
#include "platform/geometry.h"

class CCharaInfo;
class CImageLoad;

inline constexpr int kAppAboutDialogId = 103;
inline constexpr int kCharaAboutDialogId = 157;
inline constexpr int kDialogOkId = 1;
inline constexpr int kAppAboutLinkId = 1017;
inline constexpr int kCharaAboutLinkId = 1036;

// Dialogs are laid out in dialog units: a quarter of the dialog font's average character
// width across and an eighth of its height down. The font is a 9-point face at 96 dpi,
// 12 pixels high and 6 wide on average, so a unit is 6 / 4 pixels across and 12 / 8
// down (the system's rule for such a font): 210 × 240 units are 315 × 360 pixels.
inline constexpr int kDialogBaseUnitX = 6;
inline constexpr int kDialogBaseUnitY = 12;
// A rectangle in dialog units as pixels, each edge rounded down.
SRect DialogUnitsToPixels(const SRect& units);

// A width × height box centred on `range` (integer halves, as the system's dialogs are).
SRect CentredOn(const SRect& range, int width, int height);

// A link control's text: an anchor whose target and text are both `url`.
std::u16string LinkMarkup(std::u16string_view url);
// Whether a link click may hand `url` to the system: only web addresses (http or https,
// any letter case). A character's data could otherwise name a program to run.
bool IsOpenableWebAddress(std::u16string_view url);

// Dialog 103: the product's version, web address, rights line, terms notice and terms,
// and the logo (null: an empty picture).
SDialogModel ApplicationAboutDialog(const CImageLoad* logo, const SRect& moveRange);
// Dialog 157: the character's about texts, web address and about image.
SDialogModel CharacterAboutDialog(const CCharaInfo& info, const SRect& moveRange);

#include "balloon/text_layer_status.h"

#include <algorithm>

#include "chardef/colour_parse.h"
#include "chardef/func_info_map.h"
#include "chardef/text_layer_config.h"
#include "chardef/text_style_config.h"
#include "script/script_error.h"
#include "script/script_evaluator.h"
#include "script/value.h"

namespace {

constexpr double kPercent = 0.01;

bool IsHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

}  // namespace

CTextLayerStatus::CTextLayerStatus(ITextLayerOwner& owner, int index, int atlasWidth, int atlasHeight)
    : owner_(owner), index_(index), renderer_(atlasWidth, atlasHeight) {
  glyphs_.reserve(256);
}

double CTextLayerStatus::EvaluateArea(const CFuncExpression& expression) {
  return expression.Empty() ? 0.0 : owner_.EvaluateArea(expression);
}

void CTextLayerStatus::Start(const CTextLayerConfig& layer) {
  layer_ = &layer;
  try {
    areaRight_ = static_cast<int>(EvaluateArea(layer.areaWidth));
    areaBottom_ = static_cast<int>(EvaluateArea(layer.areaHeight));
    areaX_ = EvaluateArea(layer.areaX);
    areaY_ = EvaluateArea(layer.areaY);
  } catch (const EScriptError& error) {
    owner_.ReportScriptError(error.Message());
  }

  style_.ResetKeepingFont();
  if (layer.textStyle != nullptr) style_.CopyFrom(*layer.textStyle);
  style_.MakeFont(owner_.Text());
  glyphStyle_ = style_.GlyphStyle();

  elementStep_ = -1;
  statement_ = 0;
  statementEnd_ = static_cast<int>(layer.text.size());
  frameCount_ = 0;
  elementKind_ = TEXT_ELEMENT_NONE;
  waitFrames_ = 0;
  sizeStep_ = 100;
  opacityStep_ = 100;
  currentText_.clear();
  // A layer without statements has nothing to show: it is done at once.
  finished_ = statementEnd_ == 0;
  Clear();
}

void CTextLayerStatus::Clear() {
  ++generation_;
  shown_ = 0;
  chunkStart_ = 0;
  target_ = 0;
  speedAccumulator_ = 0;
  glyphs_.clear();
  penX_ = static_cast<int>(areaX_);
  penY_ = static_cast<int>(areaY_);
  lastGlyphWidth_ = 0;
  lastGlyphHeight_ = 0;
  widestGlyph_ = 0;
  lineHeight_ = 0;
  renderer_.Reset();
}

bool CTextLayerStatus::Fetch() {
  while (statement_ != elementStep_) {
    if (statement_ < 0 || statement_ >= statementEnd_) {
      finished_ = true;
      return false;
    }
    const CValue* value = nullptr;
    try {
      value = owner_.Evaluator().Evaluate(layer_->text[static_cast<size_t>(statement_)].Tokens(), this);
    } catch (const EScriptError& error) {
      owner_.ReportScriptError(error.Message());
    }
    if (value != nullptr && value->GetType() == VALUE_STR) {
      const std::u16string_view text = static_cast<const CStrValue*>(value)->Text();
      if (!text.empty()) {
        elementKind_ = TEXT_ELEMENT_TEXT;
        elementStep_ = statement_;
        currentText_.assign(text);
        placed_ = 0;
        target_ += static_cast<int>(currentText_.size());
        owner_.TextStarted(index_, currentText_);
        return true;
      }
    }
    if (elementKind_ < TEXT_ELEMENT_STYLE || elementKind_ > TEXT_ELEMENT_SPEED) return true;
    // A style change took effect when its command ran: straight on to the next line.
    ++statement_;
    if (statement_ >= statementEnd_) {
      finished_ = true;
      return false;
    }
  }
  return true;
}

void CTextLayerStatus::Step() {
  if (finished_ || layer_ == nullptr) return;
  if (!Fetch()) return;

  switch (elementKind_) {
    case TEXT_ELEMENT_TEXT:
      if (shown_ < target_) {
        RevealText();
        ++frameCount_;
        return;
      }
      break;
    case TEXT_ELEMENT_NEXT_PAGE:
    case TEXT_ELEMENT_WAIT:
      if (waitFrames_ >= 1) {
        --waitFrames_;
        ++frameCount_;
        return;
      }
      break;
    case TEXT_ELEMENT_OPEN:
      if (owner_.OpenState() == BALLOON_CLOSED) owner_.RequestOpen(sizeStep_ * kPercent, opacityStep_ * kPercent);
      if (owner_.OpenState() != BALLOON_OPEN) {
        ++frameCount_;
        return;
      }
      break;
    case TEXT_ELEMENT_CLOSE:
      if (owner_.OpenState() == BALLOON_OPEN) owner_.RequestClose(sizeStep_ * kPercent, opacityStep_ * kPercent);
      if (owner_.OpenState() != BALLOON_CLOSED) {
        ++frameCount_;
        return;
      }
      break;
    case TEXT_ELEMENT_CLEAR: Clear(); break;
    default:
      // A line that shows nothing and asks for nothing (an empty text, a number) is
      // passed over rather than stopping the layer for good.
      break;
  }
  AdvanceStatement();
  ++frameCount_;
}

void CTextLayerStatus::AdvanceStatement() {
  ++statement_;
  if (statement_ >= statementEnd_) finished_ = true;
}

void CTextLayerStatus::RevealText() {
  const int chunkStart = chunkStart_;
  if (style_.speed <= 0) {
    // No speed: the whole text at once, rather than a text that never appears.
    shown_ = target_;
  } else {
    speedAccumulator_ += style_.speed;
    shown_ = chunkStart_ + speedAccumulator_ / kFramesPerSecond;
  }
  if (shown_ >= target_) {
    shown_ = target_;
    chunkStart_ = target_;
    speedAccumulator_ = 0;
    AdvanceStatement();
  }
  const int limit = std::min(shown_ - chunkStart, static_cast<int>(currentText_.size()));
  const int size = static_cast<int>(currentText_.size());
  while (placed_ < limit) {
    char32_t code = currentText_[static_cast<size_t>(placed_)];
    ++placed_;
    // A character outside the basic plane is one glyph of two code units.
    if (IsHighSurrogate(static_cast<char16_t>(code)) && placed_ < size &&
        IsLowSurrogate(currentText_[static_cast<size_t>(placed_)])) {
      code = 0x10000 + ((code - 0xD800) << 10) + (currentText_[static_cast<size_t>(placed_)] - 0xDC00);
      ++placed_;
    }
    const bool lineFeedFollows = placed_ < size && currentText_[static_cast<size_t>(placed_)] == u'\n';
    PlaceCharacter(code, lineFeedFollows);
  }
}

void CTextLayerStatus::PlaceCharacter(char32_t code, bool lineFeedFollows) {
  if (code == U'\n') {
    penX_ = static_cast<int>(areaX_);
    penY_ += lineHeight_;
    // Several line feeds in a row keep the height, so empty lines are as high as the
    // line before them.
    if (!lineFeedFollows) {
      widestGlyph_ = 0;
      lineHeight_ = 0;
    }
    return;
  }
  if (!renderer_.RenderGlyph(code, glyphStyle_, owner_.Glyphs())) return;
  const SGlyphCell& cell = renderer_.Cells().back();
  const int width = cell.Width();
  const int height = cell.Height();
  if (penX_ + width > areaRight_) {
    penX_ = static_cast<int>(areaX_);
    penY_ += lineHeight_;
    widestGlyph_ = 0;
    lineHeight_ = 0;
  }
  // Below the area: counted as shown, never drawn.
  if (penY_ + height > areaBottom_) return;
  glyphs_.push_back({static_cast<int>(renderer_.Cells().size()) - 1, penX_, penY_});
  lastGlyphWidth_ = width;
  lastGlyphHeight_ = height;
  widestGlyph_ = std::max(widestGlyph_, width);
  penX_ += width;
  lineHeight_ = std::max(lineHeight_, height);
}

void CTextLayerStatus::SelectTextStyle(std::u16string_view name) {
  const CCreateFuncInfo* entry = owner_.Registers().FindEntry(std::u16string(name));
  const CTextStyleConfig* style = entry != nullptr ? entry->ConfigAs<CTextStyleConfig>() : nullptr;
  if (style == nullptr) return;
  style_.CopyFrom(*style);
  style_.MakeFont(owner_.Text());
  glyphStyle_ = style_.GlyphStyle();
}

void CTextLayerStatus::SetFontFace(std::u16string_view face) {
  style_.fontName.assign(face);
  style_.MakeFont(owner_.Text());
  glyphStyle_ = style_.GlyphStyle();
}

void CTextLayerStatus::SetFontColor(std::u16string_view colour) {
  style_.colour = ParseColour(colour);
  glyphStyle_ = style_.GlyphStyle();
}

void CTextLayerStatus::SetFontSize(int size) {
  style_.fontSize = size;
  style_.MakeFont(owner_.Text());
  glyphStyle_ = style_.GlyphStyle();
}

void CTextLayerStatus::SetSpeed(int speed) {
  if (speed > 0) style_.speed = speed;
}

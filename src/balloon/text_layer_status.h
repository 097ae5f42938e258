#pragma once
// CTextLayerStatus: one text layer of a balloon at run time. It runs the layer's text
// statements one after another: a statement that yields text reveals it character by
// character at the style's speed (characters per second at 30 frames), placing each
// glyph at the pen with line feeds, automatic line breaks and dropping what does not fit
// the text area; statements that call text commands change the style, wait, open or
// close the balloon, or clear the area. Frame thread.
#include <string>
#include <vector>

#include "balloon/glyph_renderer.h"
#include "balloon/text_layer_owner.h"
#include "balloon/text_layer_style.h"
#include "script/text_layer_target.h"

class CTextLayerConfig;

// What a statement asked for (the text commands record their code).
enum ETextElement : int {
  TEXT_ELEMENT_TEXT = 1,
  TEXT_ELEMENT_STYLE = 2,
  TEXT_ELEMENT_FONT = 3,
  TEXT_ELEMENT_COLOUR = 4,
  TEXT_ELEMENT_SIZE = 5,
  TEXT_ELEMENT_SPEED = 6,
  TEXT_ELEMENT_NEXT_PAGE = 7,
  TEXT_ELEMENT_WAIT = 8,
  TEXT_ELEMENT_OPEN = 9,
  TEXT_ELEMENT_CLOSE = 10,
  TEXT_ELEMENT_CLEAR = 11,
  TEXT_ELEMENT_NONE = 13,
};

// One placed glyph: the atlas cell and where it goes in the balloon's picture.
struct SPlacedGlyph {
  int cell = 0;
  int x = 0;
  int y = 0;
};

class CTextLayerStatus final : public ITextLayerTarget {
 public:
  // The engine's frame rate, which the speed is measured against.
  static constexpr int kFramesPerSecond = 30;

  // `index` is the layer's position in the balloon (from 0); the atlas is
  // `atlasWidth` × `atlasHeight`.
  CTextLayerStatus(ITextLayerOwner& owner, int index, int atlasWidth, int atlasHeight);

  // Starts `layer` from its first statement on a cleared area.
  void Start(const CTextLayerConfig& layer);
  // One frame; nothing once finished.
  void Step();
  // Empties the area: the pen back at its top-left, no glyphs, the atlas restarted.
  void Clear();
  // Stops the layer where it is; its glyphs stay until the next Start or Clear.
  void Finish() { finished_ = true; }

  bool Finished() const { return finished_; }
  // Changes whenever the placed glyphs are thrown away (Start, Clear); between two
  // changes glyphs are only added.
  unsigned Generation() const { return generation_; }
  const std::vector<SPlacedGlyph>& Glyphs() const { return glyphs_; }
  const CGlyphRenderer& Renderer() const { return renderer_; }
  const STextLayerStyle& Style() const { return style_; }
  int Shown() const { return shown_; }
  int Target() const { return target_; }
  int PenX() const { return penX_; }
  int PenY() const { return penY_; }
  int LineHeight() const { return lineHeight_; }
  int FrameCount() const { return frameCount_; }
  int WaitFrames() const { return waitFrames_; }

  // ITextLayerTarget: what the statement being evaluated asks for.
  int StatementIndex() const override { return statement_; }
  void SetElement(int kind, int step) override {
    elementKind_ = kind;
    elementStep_ = step;
  }
  void SetWaitFrames(int frames) override { waitFrames_ = frames; }
  void SetResizeSteps(int sizeStep, int opacityStep) override {
    sizeStep_ = sizeStep;
    opacityStep_ = opacityStep;
  }
  void SelectTextStyle(std::u16string_view name) override;
  void SetFontFace(std::u16string_view face) override;
  void SetFontColor(std::u16string_view colour) override;
  void SetFontSize(int size) override;
  void SetSpeed(int speed) override;

 private:
  // Evaluates statements until one yields text or asks for something that takes frames.
  // False when the layer finished on the way.
  bool Fetch();
  void RevealText();
  // The statement is done: on to the next, finished after the last.
  void AdvanceStatement();
  void PlaceCharacter(char32_t code, bool lineFeedFollows);
  double EvaluateArea(const CFuncExpression& expression);

  ITextLayerOwner& owner_;
  int index_;
  CGlyphRenderer renderer_;
  const CTextLayerConfig* layer_ = nullptr;
  int areaRight_ = 0;
  int areaBottom_ = 0;
  double areaX_ = 0.0;
  double areaY_ = 0.0;
  int penX_ = 0;
  int penY_ = 0;
  int lastGlyphWidth_ = 0;
  int lastGlyphHeight_ = 0;
  int widestGlyph_ = 0;
  int lineHeight_ = 0;
  int elementStep_ = -1;
  int statement_ = 0;
  int statementEnd_ = 0;
  int frameCount_ = 0;
  int elementKind_ = TEXT_ELEMENT_NONE;
  int shown_ = 0;
  int chunkStart_ = 0;
  int target_ = 0;
  int placed_ = 0;  // code units of the current text placed so far
  int speedAccumulator_ = 0;
  int waitFrames_ = 0;
  int sizeStep_ = 100;
  int opacityStep_ = 100;
  STextLayerStyle style_;
  SGlyphStyle glyphStyle_;
  std::u16string currentText_;
  std::vector<SPlacedGlyph> glyphs_;
  bool finished_ = true;
  unsigned generation_ = 0;
};

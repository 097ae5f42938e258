#pragma once
// ITextLayerTarget: the balloon text layer a text statement is evaluated for. The text
// commands (Open, Wait, SetFont, …) write what the statement asked for into it; the
// text-layer engine acts on that record on the following frames. Implemented by the
// engine; the script language only calls it.
#include <string_view>

class ITextLayerTarget {
 public:
  virtual ~ITextLayerTarget() = default;

  // The index of the statement being evaluated (the layer's statement counter).
  virtual int StatementIndex() const = 0;
  // Records what the statement asked for: a TEXT_PARAM_TYPE kind and the statement
  // index it was asked at. A later command of the same statement overwrites both.
  virtual void SetElement(int kind, int step) = 0;

  // Frames the layer pauses for (Wait).
  virtual void SetWaitFrames(int frames) = 0;
  // Percent per frame by which opening or closing changes the balloon's size and
  // opacity (Open, Close).
  virtual void SetResizeSteps(int sizeStep, int opacityStep) = 0;

  // Style changes. Each is called only with a value the command accepted: a non-empty
  // text, a positive number.
  // Makes the text style of that name current when the character defines one.
  virtual void SelectTextStyle(std::u16string_view name) = 0;
  // Changes the font face; size, colour and the other style values stay.
  virtual void SetFontFace(std::u16string_view face) = 0;
  // Changes the font colour to `colour` read as a colour name or RRGGBB.
  virtual void SetFontColor(std::u16string_view colour) = 0;
  virtual void SetFontSize(int size) = 0;
  // Characters per second.
  virtual void SetSpeed(int speed) = 0;
};

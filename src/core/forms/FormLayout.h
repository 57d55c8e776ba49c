#pragma once
// Where every control of a form goes: the measured layout of the form window, computed from the
// form's items and the metrics of the fonts in use, with no window involved. The form window
// places its controls from it; printing reads the same positions.
//
// The form is laid out for 80 character columns of the canvas font (Arial 10). Items read inside
// a plain group are placed in that group's frame (their coordinates are relative to the frame);
// everything else is placed on the form's area. Groups that are switched off move everything
// below them up by their height (ShiftOf).
#include <string>
#include <string_view>
#include <vector>

#include "forms/FormModel.h"

namespace tal {

struct LayoutRect {
  int left = 0, top = 0, width = 0, height = 0;
  int right() const { return left + width; }
  int bottom() const { return top + height; }
  bool operator==(const LayoutRect&) const = default;
};

struct LayoutSize {
  int width = 0, height = 0;
};

// The letters whose width, divided by 52, is a font's average character width.
inline constexpr std::string_view AverageWidthLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

// Text and picture measures of the fonts in use. The window measures with the real fonts
// (QtFormMetrics); tests may give fixed numbers.
class FormMetrics {
 public:
  virtual ~FormMetrics() = default;
  // Height of the text "gh" in the font.
  virtual int GetHeight(const FontSlot& font) const = 0;
  // Advance width of the text in the font.
  virtual int TextWidth(const FontSlot& font, std::string_view text) const = 0;
  // The font's absolute height in pixels (the em height the font was asked for).
  virtual int PixelHeight(const FontSlot& font) const = 0;
  // Size of a picture item's bitmap (a caption picture included).
  virtual LayoutSize PictureSize(const PictureData& picture) const = 0;
  // The height an edit field or drop-down list needs in the window's style for the font: the
  // lines of fields are at least that far apart (plus 2), so fields as tall as their style
  // needs do not overlap. 0 where only the text counts (measures without a window).
  virtual int ControlHeight(const FontSlot& font) const { return 0; }

  // Width of the text followed by two blanks.
  int GetWidth(const FontSlot& font, std::string_view text) const;
  // Width of "A".."Z" and "a".."z" divided by 52 (whole-number division). Metrics that measure
  // real fonts keep it per font: the layout asks for it several times for every item.
  virtual int aveCharWidth(const FontSlot& font) const;
  // The canvas font of the window: Arial 10, no style.
  static FontSlot CanvasFont();
  // Width of "8" in the canvas font.
  int CharWidth() const;
  // Height of "gh" in the canvas font plus 2.
  int LineHeight() const;
};

// Size of a caption picture: the caption and two blanks wide, the text plus 5 high.
LayoutSize CaptionPictureSize(const FormMetrics& metrics, std::string_view caption);
// The font a caption picture is drawn in: the canvas font in italics.
FontSlot CaptionFont();

struct ItemGeometry {
  // The item lies in a plain group's frame: its rectangles are relative to that frame.
  bool inFrame = false;
  // The label (TDescriptor). Groups and pictures have an invisible anchor label at left -10 that
  // only serves the placement of the next item.
  LayoutRect label;
  bool labelInLayout = true;
  bool labelShown = true;  // false for anchors and hidden list fields
  // Text lines: the alignment the label is drawn with (may differ from the slot's, see Place).
  Alignment labelAlignment = Alignment::Left;
  // The field (text, numeric, list or file field), the picture, or the group frame.
  LayoutRect field;
  bool hasField = false;
  LayoutRect unit;  // numeric fields
  bool hasUnit = false;
  LayoutRect button;  // application button of numeric and list fields
  bool hasButton = false;
  std::vector<LayoutRect> choices;  // check boxes and radio buttons, relative to their frame
};

class FormLayout {
 public:
  // Constants of the layout.
  static constexpr int Columns = 80;
  static constexpr int MarginColumns = 2;
  static constexpr int FirstTop = 10;
  static constexpr int EmptyGroupHeight = 24;
  static constexpr int ChoiceSpacing = 20;
  static constexpr int ChoiceLeft = 10;
  static constexpr int AnchorLeft = -10;
  static constexpr int ButtonWidth = 30;  // the hidden template button
  static constexpr int ButtonHeight = 22;
  // What the frame and inner margins of an edit field take beside its text.
  static constexpr int EditFrame = 10;

  // Lays out every item of `form`. `completed`: the reading ran its completion pass (button
  // column and equal group widths); a reading that stopped early or missed a group close keeps
  // the frames as they grew and the buttons where they were first put.
  static FormLayout Build(const FormModel& form, const FormMetrics& metrics, bool completed);

  const std::vector<ItemGeometry>& items() const { return items_; }
  const ItemGeometry& item(std::size_t index) const { return items_[index]; }
  int charWidth() const { return charWidth_; }
  int lineHeight() const { return lineHeight_; }
  // Largest group frame width (-1 when there is no group), after the completion pass.
  int widestGroup() const { return widestGroup_; }
  // Left margin in pixels (2 character widths).
  int marginPixels() const { return MarginColumns * charWidth_; }

  // How far an item on the form's area is moved down by the groups switched off at or above it
  // (0 or negative); items inside a plain group move with their frame, so 0 for them.
  int ShiftOf(const FormModel& form, std::size_t index) const;
  // The item's rectangle on the form's area: its own (frames: the frame) with the frame's
  // position added for items inside a frame, shifted by the switched-off groups above.
  LayoutRect AreaRect(const FormModel& form, std::size_t index, const LayoutRect& rect) const;
  // The extent of everything shown on the form's area, plus a margin of 10 pixels.
  LayoutSize Extent(const FormModel& form) const;

 private:
  std::vector<ItemGeometry> items_;
  int charWidth_ = 0;
  int lineHeight_ = 0;
  int widestGroup_ = -1;
};

// Where the form window goes when reading ends. Below 641 pixels of screen width it is maximised;
// otherwise it stays in the normal state at the top left corner, screen height minus 70 high, and
// a widest group above 100 pixels sets its client width.
struct FormWindowPlacement {
  bool maximised = false;
  int left = 0, top = 0;
  int clientWidth = -1;  // -1: keep the width it has
  int height = 0;
};
FormWindowPlacement PlaceFormWindow(int screenWidth, int screenHeight, int widestGroup, int charWidth);

}  // namespace tal

#include "forms/FormLayout.h"

#include <algorithm>

namespace tal {

// ---- Metrics -----------------------------------------------------------------------------------

int FormMetrics::GetWidth(const FontSlot& font, std::string_view text) const {
  std::string padded(text);
  padded += "  ";
  return TextWidth(font, padded);
}

int FormMetrics::aveCharWidth(const FontSlot& font) const { return TextWidth(font, AverageWidthLetters) / 52; }

FontSlot FormMetrics::CanvasFont() { return FontSlot{}; }

int FormMetrics::CharWidth() const { return TextWidth(CanvasFont(), "8"); }

int FormMetrics::LineHeight() const { return GetHeight(CanvasFont()) + 2; }

FontSlot CaptionFont() {
  FontSlot font = FormMetrics::CanvasFont();
  font.italic = true;
  font.colour = {0, 0, 255};
  return font;
}

LayoutSize CaptionPictureSize(const FormMetrics& metrics, std::string_view caption) {
  FontSlot font = CaptionFont();
  return {metrics.GetWidth(font, caption), metrics.GetHeight(font) + 5};
}

// ---- Building the layout -----------------------------------------------------------------------

namespace {

int Length(const std::string& text) { return static_cast<int>(text.size()); }

class LayoutBuilder {
 public:
  LayoutBuilder(const FormModel& form, const FormMetrics& metrics, std::vector<ItemGeometry>& out)
      : form_(form), metrics_(metrics), out_(out) {
    W = metrics.CharWidth();
    LH = metrics.LineHeight();
    MW = FormLayout::MarginColumns * W;
  }

  void Run(bool completed);
  int widest() const { return widest_; }

 private:
  const FormStyle& StyleOf(std::size_t i) const { return form_.StyleOf(form_.items[i]); }
  // The 80 columns of the layout in pixels.
  int Columns() const { return FormLayout::Columns * W; }
  // The font of the item's label: slot 1 for text lines and plain groups, 2 otherwise.
  const FontSlot& LabelFont(std::size_t i) const;
  bool InFrame(std::size_t i) const;
  void Advance(std::size_t previous, FormItemKind kind);
  // Top of a new item: the frame's height for items in a frame (which then grows by `growth`),
  // else the running y.
  int TopFor(std::size_t i, int growth);
  // Where the window's fields are taller than their text, lines of fields lie further apart:
  // the distance after item p (0 when the text's own distance is enough), and the growth of a frame by
  // one field line in `font`.
  int FieldPitch(std::size_t p) const;
  int ControlPitch(const FontSlot& font) const {
    int needed = metrics_.ControlHeight(font);
    return needed > 0 ? needed + 2 : 0;
  }
  void WidenFrameFor(std::size_t i, int right, int extra);
  void CloseFrame();
  // A field placed after its label by counting average characters (`counted`) would reach over
  // a label of wider letters: it then starts one average character after the label's text, the
  // room the count leaves after an average label (a printed form draws its box into it).
  int ClearOfLabel(int counted, const LayoutRect& label, const FontSlot& font, const std::string& text) const;
  // Numeric fields are 10 average characters wide, or wider where the numbers their limits show
  // (in either unit system) or their present text need more room, so a number never shows cut.
  int NumericFieldWidth(std::size_t i, const FontSlot& font) const;

  void PlaceText(std::size_t i);
  void PlaceNumeric(std::size_t i);
  void PlaceList(std::size_t i);
  void PlaceFile(std::size_t i);
  void PlacePicture(std::size_t i);
  void PlaceGroup(std::size_t i);
  void PlaceChoiceGroup(std::size_t i);
  void Complete();

  const FormModel& form_;
  const FormMetrics& metrics_;
  std::vector<ItemGeometry>& out_;
  int W = 0, LH = 0, MW = 0;
  int y_ = FormLayout::FirstTop;
  int widest_ = -1;
  int openFrame_ = -1;  // the plain group whose frame grows, -1 when none
};

const FontSlot& LayoutBuilder::LabelFont(std::size_t i) const {
  FormItemKind kind = form_.items[i].kind;
  return StyleOf(i).font(kind == FormItemKind::Text || kind == FormItemKind::Group ? 1 : 2);
}

bool LayoutBuilder::InFrame(std::size_t i) const {
  const FormItem& item = form_.items[i];
  return item.inGroup && item.enclosingGroup >= 0 && !IsGroupKind(item.kind);
}

void LayoutBuilder::Advance(std::size_t p, FormItemKind kind) {
  const FormItem& previous = form_.items[p];
  const ItemGeometry& geometry = out_[p];
  if (!geometry.labelInLayout) return;
  const LayoutRect& label = geometry.label;
  // Labels in a frame have tops relative to it; the frame's top brings them onto the area.
  int frameOffset = 0;
  if (geometry.inFrame) frameOffset = out_[static_cast<std::size_t>(previous.enclosingGroup)].field.top + LH / 2;
  switch (kind) {
    case FormItemKind::Text:
    case FormItemKind::Numeric:
    case FormItemKind::List:
    case FormItemKind::File:
      y_ = label.top + std::max(metrics_.GetHeight(LabelFont(p)) * 5 / 4, FieldPitch(p)) + frameOffset;
      break;
    case FormItemKind::Group:
    case FormItemKind::CheckBoxGroup:
    case FormItemKind::RadioGroup:
      // A plain group directly before (an empty one) leaves y where it was.
      if (previous.kind != FormItemKind::Group) y_ = label.top + LH + LH / 2 + frameOffset;
      break;
    case FormItemKind::Picture:
    case FormItemKind::AppLinkPicture:
      // One and a half lines below the previous label, as for groups. After an item in a plain
      // group, adding the frame's top to the running y (which holds it already) would leave a
      // gap as high as the frame's position on the form.
      y_ = label.top + LH + LH / 2 + frameOffset;
      break;
  }
}

int LayoutBuilder::FieldPitch(std::size_t p) const {
  const FormItem& item = form_.items[p];
  bool field = item.kind == FormItemKind::Numeric || item.kind == FormItemKind::List || item.kind == FormItemKind::File ||
               (item.kind == FormItemKind::Text && item.textField.present);
  if (!field) return 0;
  int needed = metrics_.ControlHeight(LabelFont(p));
  return needed > 0 ? needed + 2 : 0;
}

int LayoutBuilder::TopFor(std::size_t i, int growth) {
  if (!InFrame(i)) return y_;
  LayoutRect& frame = out_[static_cast<std::size_t>(form_.items[i].enclosingGroup)].field;
  int top = frame.height;
  frame.height += growth;
  return top;
}

void LayoutBuilder::WidenFrameFor(std::size_t i, int right, int extra) {
  if (!InFrame(i)) return;
  LayoutRect& frame = out_[static_cast<std::size_t>(form_.items[i].enclosingGroup)].field;
  if (right + extra > frame.width) frame.width = right + extra;
}

void LayoutBuilder::CloseFrame() {
  if (openFrame_ < 0) return;
  LayoutRect& frame = out_[static_cast<std::size_t>(openFrame_)].field;
  if (frame.height == FormLayout::EmptyGroupHeight) {
    frame.height = 0;  // a group without items is hidden
  } else {
    frame.height += 5;
    widest_ = std::max(widest_, frame.width);
  }
  openFrame_ = -1;
}

int LayoutBuilder::ClearOfLabel(int counted, const LayoutRect& label, const FontSlot& font,
                                const std::string& text) const {
  return std::max(counted, label.left + metrics_.TextWidth(font, text) + metrics_.aveCharWidth(font));
}

int LayoutBuilder::NumericFieldWidth(std::size_t i, const FontSlot& font) const {
  const NumericField& field = form_.items[i].numeric;
  int widest = metrics_.TextWidth(font, field.text);
  for (UnitSystem units : {UnitSystem::Primary, UnitSystem::Secondary})
    for (Real limit : {field.minimum, field.maximum})
      widest = std::max(widest, metrics_.TextWidth(font, FormatReal(field.format, ToShownValue(field, limit, units))));
  // The field takes at most 25 characters, whatever limits in fixed-point form would need.
  widest = std::min(widest, metrics_.TextWidth(font, std::string(NumericField::MaxLength, '8')));
  return std::max(10 * metrics_.aveCharWidth(font), widest + FormLayout::EditFrame);
}

void LayoutBuilder::Run(bool completed) {
  out_.assign(form_.items.size(), ItemGeometry{});
  for (std::size_t i = 0; i < form_.items.size(); ++i) {
    const FormItem& item = form_.items[i];
    // The open frame closes at the first item that is not inside it.
    if (openFrame_ >= 0 && !(item.inGroup && item.enclosingGroup == openFrame_)) CloseFrame();
    if (i > 0) Advance(i - 1, item.kind);
    out_[i].inFrame = InFrame(i);
    switch (item.kind) {
      case FormItemKind::Text: PlaceText(i); break;
      case FormItemKind::Numeric: PlaceNumeric(i); break;
      case FormItemKind::List: PlaceList(i); break;
      case FormItemKind::File: PlaceFile(i); break;
      case FormItemKind::Picture:
      case FormItemKind::AppLinkPicture: PlacePicture(i); break;
      case FormItemKind::Group: PlaceGroup(i); break;
      case FormItemKind::CheckBoxGroup:
      case FormItemKind::RadioGroup: PlaceChoiceGroup(i); break;
    }
  }
  // A group still open at the end was closed by the deck unless the reading ended early. The
  // reader hides a group without items when it closes it, so such a group was closed.
  if (openFrame_ >= 0) {
    const GroupData& group = form_.items[static_cast<std::size_t>(openFrame_)].group;
    if (completed || (!group.hasItems && !group.visible)) CloseFrame();
  }
  if (completed) Complete();
}

void LayoutBuilder::PlaceText(std::size_t i) {
  const FormItem& item = form_.items[i];
  const FormStyle& style = StyleOf(i);
  const FontSlot& font = style.font(1);
  Alignment alignment = style.alignment(1);
  ItemGeometry& g = out_[i];
  int top = TopFor(i, std::max(LH + 4, item.textField.present ? ControlPitch(font) : 0));
  int T0 = style.tabs[0], T1 = style.tabs[1];
  g.labelAlignment = alignment;
  g.label.left = MW + (alignment == Alignment::Left ? T0 : 0);
  g.label.top = top;
  g.label.width = g.inFrame ? metrics_.TextWidth(font, item.label) : Columns() - g.label.left;
  g.label.height = metrics_.GetHeight(font);
  if (item.textField.present) {
    g.hasField = true;
    g.field.width = metrics_.GetWidth(font, item.textField.text);
    g.field.height = metrics_.GetHeight(font);
    g.field.top = top;
    if (T1 >= 0) {
      g.field.left = T1;
    } else if (alignment == Alignment::Left) {
      g.field.left = ClearOfLabel((Length(item.label) + 1) * metrics_.aveCharWidth(font) + MW + T0, g.label, font,
                                  item.label);
    } else {
      // The label shrinks to its text and moves so that label and field end together.
      g.labelAlignment = Alignment::Left;
      g.label.width = metrics_.GetWidth(font, item.label);
      int free = Columns() - g.label.width - g.field.width;
      g.label.left = alignment == Alignment::Right ? free : free / 2;
      g.field.left = MW + g.label.left + g.label.width;
    }
  }
  WidenFrameFor(i, std::max(g.label.right(), g.hasField ? g.field.right() : 0), 20);
}

void LayoutBuilder::PlaceNumeric(std::size_t i) {
  const FormItem& item = form_.items[i];
  const FormStyle& style = StyleOf(i);
  const FontSlot& font = style.font(2);
  const FontSlot& unitFont = style.font(3);
  ItemGeometry& g = out_[i];
  int top = TopFor(i, std::max(LH * 5 / 4, ControlPitch(font)));
  int ave = metrics_.aveCharWidth(font);
  g.label = {MW + style.tabs[0], top, metrics_.TextWidth(font, item.label), metrics_.GetHeight(font) + 2};
  g.hasField = true;
  g.field.left = style.tabs[2] >= 0 ? style.tabs[2] : ClearOfLabel((Length(item.label) + 1) * ave, g.label, font, item.label);
  g.field.top = top;
  g.field.width = NumericFieldWidth(i, font);
  g.field.height = metrics_.GetHeight(font) + 2;
  g.hasUnit = true;
  const std::string& caption = form_.UnitCaption(i);
  g.unit = {metrics_.aveCharWidth(unitFont) + g.field.right(), top, metrics_.TextWidth(unitFont, caption),
            metrics_.GetHeight(unitFont) + 2};
  if (item.application >= 1 && item.application <= 4) {
    g.hasButton = true;
    g.button = {g.unit.right() + 10, g.unit.top - 1, FormLayout::ButtonWidth, FormLayout::ButtonHeight};
  }
  WidenFrameFor(i, std::max({g.label.right(), g.field.right(), g.unit.right()}), 20);
}

void LayoutBuilder::PlaceList(std::size_t i) {
  const FormItem& item = form_.items[i];
  const FormStyle& style = StyleOf(i);
  const FontSlot& font = style.font(2);
  ItemGeometry& g = out_[i];
  if (!item.list.visible()) {
    // A hidden list field shows nothing and takes no room.
    int top = InFrame(i) ? out_[static_cast<std::size_t>(item.enclosingGroup)].field.height : y_;
    g.label = {MW + style.tabs[0], top, 0, 0};
    g.labelInLayout = false;
    g.labelShown = false;
    return;
  }
  int top = TopFor(i, std::max(LH * 4 / 3, ControlPitch(font)));
  int ave = metrics_.aveCharWidth(font);
  g.label = {MW + style.tabs[0], top, metrics_.TextWidth(font, item.label), metrics_.GetHeight(font) + 4};
  int widest = 0;
  for (const std::string& choice : form_.ListChoices(i)) widest = std::max(widest, metrics_.GetWidth(font, choice));
  g.hasField = true;
  g.field.left = style.tabs[2] >= 0 ? style.tabs[2] : ClearOfLabel((Length(item.label) + 2) * ave, g.label, font, item.label);
  g.field.top = top - 4;
  g.field.width = widest + 20;
  g.field.height = metrics_.GetHeight(font);
  if (item.application >= 1 && item.application <= 4) {
    g.hasButton = true;
    g.button = {g.field.right() + 10, g.field.top, FormLayout::ButtonWidth, FormLayout::ButtonHeight};
  }
  WidenFrameFor(i, std::max(g.label.right(), g.field.right()), 20);
}

void LayoutBuilder::PlaceFile(std::size_t i) {
  const FormItem& item = form_.items[i];
  const FormStyle& style = StyleOf(i);
  const FontSlot& font = style.font(2);
  ItemGeometry& g = out_[i];
  int top = TopFor(i, std::max(LH * 5 / 4, ControlPitch(font)));
  int ave = metrics_.aveCharWidth(font);
  g.label = {MW + style.tabs[0], top, ave * (Length(item.label) + 1), metrics_.GetHeight(font) + 2};
  g.hasField = true;
  // The field is as wide as the file name and one more average character, and never too narrow
  // to show the whole name.
  int width = std::max(ave * (Length(item.file.fileName) + 1),
                       metrics_.TextWidth(font, item.file.fileName) + FormLayout::EditFrame);
  g.field = {ClearOfLabel((Length(item.label) + 2) * W, g.label, font, item.label), top, width,
             metrics_.GetHeight(font) + 2};
  WidenFrameFor(i, std::max(g.label.right(), g.field.right()), 20);
}

void LayoutBuilder::PlacePicture(std::size_t i) {
  const FormItem& item = form_.items[i];
  ItemGeometry& g = out_[i];
  LayoutSize size = metrics_.PictureSize(item.picture);
  int top = TopFor(i, size.height + LH / 2);
  int left = 5;
  switch (item.picture.position) {
    case PicturePosition::Left: left = 5; break;
    case PicturePosition::Center: left = (Columns() - size.width) / 2 + MW; break;
    case PicturePosition::Right: left = Columns() - size.width - 5; break;
  }
  g.hasField = true;
  g.field = {std::max(0, left), top, size.width, size.height};
  // The anchor ends one line above the picture's bottom, so the next item goes below it.
  g.label = {FormLayout::AnchorLeft, top + size.height - LH, 0, metrics_.GetHeight(StyleOf(i).font(2)) + 2};
  g.labelShown = false;
  WidenFrameFor(i, g.field.right(), 5);
}

void LayoutBuilder::PlaceGroup(std::size_t i) {
  ItemGeometry& g = out_[i];
  g.hasField = true;
  g.field = {MW, y_, widest_ > 0 ? widest_ : Columns(), FormLayout::EmptyGroupHeight};
  g.label = {FormLayout::AnchorLeft, g.field.top + g.field.height - LH, 0, metrics_.GetHeight(StyleOf(i).font(1))};
  g.labelShown = false;
  openFrame_ = static_cast<int>(i);
}

void LayoutBuilder::PlaceChoiceGroup(std::size_t i) {
  const FormItem& item = form_.items[i];
  const FormStyle& style = StyleOf(i);
  ItemGeometry& g = out_[i];
  g.hasField = true;
  g.field = {MW, y_, widest_ > 0 ? widest_ : Columns(), FormLayout::EmptyGroupHeight};
  // The items start below the frame's caption, which is as high as the frame's font.
  int D = metrics_.PixelHeight(style.font(1)) - LH;
  const FontSlot& font = style.font(2);
  int ave = metrics_.aveCharWidth(font);
  int n = 0;
  for (const GroupChoice& choice : item.group.choices) {
    ++n;
    LayoutRect box{FormLayout::ChoiceLeft, n * FormLayout::ChoiceSpacing + D, (Length(choice.caption) + 5) * ave,
                   metrics_.GetHeight(font) + 2};
    if (g.field.width < box.width) g.field.width = box.width + 20;
    g.choices.push_back(box);
  }
  g.field.height = n * FormLayout::ChoiceSpacing + D + FormLayout::EmptyGroupHeight;
  g.label = {FormLayout::AnchorLeft, g.field.top + g.field.height - LH, 0, metrics_.GetHeight(font) + 2};
  g.labelShown = false;
  // Check-box and radio frames count for the common width like plain ones: every frame takes
  // the widest width at the end, and one left out would cut its own check boxes off.
  widest_ = std::max(widest_, g.field.width);
}

void LayoutBuilder::Complete() {
  bool anyButton = std::any_of(out_.begin(), out_.end(), [](const ItemGeometry& g) { return g.hasButton; });
  // The button column lies at the right edge of the group frames. Without any frame there is no
  // such edge: the buttons stay beside their fields instead of covering the labels at the left.
  if (anyButton && widest_ > 0) {
    widest_ += FormLayout::ButtonWidth + 10;
    for (ItemGeometry& g : out_)
      if (g.hasButton) g.button.left = widest_ - FormLayout::ButtonWidth - 5;
  }
  for (std::size_t i = 0; i < out_.size(); ++i)
    if (IsGroupKind(form_.items[i].kind)) out_[i].field.width = widest_;
}

}  // namespace

FormLayout FormLayout::Build(const FormModel& form, const FormMetrics& metrics, bool completed) {
  FormLayout layout;
  layout.charWidth_ = metrics.CharWidth();
  layout.lineHeight_ = metrics.LineHeight();
  LayoutBuilder builder(form, metrics, layout.items_);
  builder.Run(completed);
  layout.widestGroup_ = builder.widest();
  return layout;
}

int FormLayout::ShiftOf(const FormModel& form, std::size_t index) const {
  if (items_[index].inFrame) return 0;
  int shift = 0;
  for (std::size_t j = 0; j <= index && j < form.items.size(); ++j)
    if (IsGroupKind(form.items[j].kind) && !form.items[j].group.visible) shift -= items_[j].field.height;
  return shift;
}

LayoutRect FormLayout::AreaRect(const FormModel& form, std::size_t index, const LayoutRect& rect) const {
  LayoutRect result = rect;
  if (items_[index].inFrame) {
    auto frame = static_cast<std::size_t>(form.items[index].enclosingGroup);
    result.left += items_[frame].field.left;
    result.top += items_[frame].field.top + ShiftOf(form, frame);
  } else {
    result.top += ShiftOf(form, index);
  }
  return result;
}

LayoutSize FormLayout::Extent(const FormModel& form) const {
  LayoutSize extent;
  int shift = 0;
  for (std::size_t i = 0; i < items_.size(); ++i) {
    const ItemGeometry& g = items_[i];
    bool group = IsGroupKind(form.items[i].kind);
    if (group && !form.items[i].group.visible) shift -= g.field.height;
    if (!form.IsShown(i) || g.inFrame) continue;  // frames cover what lies in them
    for (const LayoutRect* rect : {&g.label, &g.field, &g.unit, &g.button}) {
      if (rect == &g.label && !g.labelShown) continue;
      if (rect == &g.field && !g.hasField) continue;
      if (rect == &g.unit && !g.hasUnit) continue;
      if (rect == &g.button && !g.hasButton) continue;
      extent.width = std::max(extent.width, rect->right());
      extent.height = std::max(extent.height, rect->bottom() + shift);
    }
  }
  return {extent.width + 10, extent.height + 10};
}

FormWindowPlacement PlaceFormWindow(int screenWidth, int screenHeight, int widestGroup, int charWidth) {
  FormWindowPlacement placement;
  if (screenWidth < 641) {
    placement.maximised = true;
    return placement;
  }
  if (widestGroup > 100) placement.clientWidth = widestGroup + 2 * charWidth + 30;
  placement.height = screenHeight - 70;
  return placement;
}

}  // namespace tal

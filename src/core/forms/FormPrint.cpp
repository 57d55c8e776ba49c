#include "forms/FormPrint.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

namespace tal {

namespace {

class FormPrinter {
 public:
  FormPrinter(TPrintJob& job, const FormModel& form, const FormLayout& layout, FormPictures& pictures)
      : job_(job), painter_(job.painter()), form_(form), layout_(layout), pictures_(pictures) {
    // One inch of the form becomes one margin unit. The form counts 96 pixels to the inch on
    // every screen, so the screen's own resolution does not enter: the boxed values stay where
    // the labels printed in points leave room for them.
    scale_ = static_cast<double>(job.margin()) / FormPixelsPerInch;
    // The gap around boxed values is the width of "8" in the form's field font.
    QFont font = PrinterFontOfSlot(form.styles.back().font(2));
    gap_ = QFontMetrics(font, painter_.device()).horizontalAdvance("8");
  }

  void Run();

 private:
  bool Printed(std::size_t index) const;
  int Scaled(int pixels) const { return static_cast<int>(std::lround(pixels * scale_)); }
  int TextWidth(const QString& text) const { return QFontMetrics(painter_.font(), painter_.device()).horizontalAdvance(text); }
  int TextHeight() const { return QFontMetrics(painter_.font(), painter_.device()).height(); }
  void UseFont(const FontSlot& slot, bool underline = false);
  // A text on a line of its own (or following on the current line) at the label's place.
  int PrintLine(const QString& text, int labelLeft, Alignment alignment, bool followOn = false);
  void PrintBoxed(const QString& value, int left);
  void PrintChoices(std::size_t index);
  void PrintPicture(std::size_t index);
  LayoutRect OnArea(std::size_t index, const LayoutRect& rect) const { return layout_.AreaRect(form_, index, rect); }

  TPrintJob& job_;
  QPainter& painter_;
  const FormModel& form_;
  const FormLayout& layout_;
  FormPictures& pictures_;
  double scale_ = 1;
  int gap_ = 0;
  // Where the last text or box of the current print line ends: what follows on the line starts
  // clear of it, even where the printer's font is wider than the screen's.
  int lineEnd_ = 0;
};

QString Latin1(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

bool FormPrinter::Printed(std::size_t index) const {
  const FormItem& item = form_.items[index];
  if (IsGroupKind(item.kind) && !item.group.visible) return false;
  if (item.inGroup && item.enclosingGroup >= 0 && !form_.items[static_cast<std::size_t>(item.enclosingGroup)].group.visible)
    return false;
  return !(item.kind == FormItemKind::List && !item.list.visible());
}

void FormPrinter::UseFont(const FontSlot& slot, bool underline) {
  QFont font = PrinterFontOfSlot(slot);
  if (underline) font.setUnderline(true);
  painter_.setFont(font);
  painter_.setPen(ColourOf(slot.colour));
}

int FormPrinter::PrintLine(const QString& text, int labelLeft, Alignment alignment, bool followOn) {
  if (!followOn) job_.Advance(TextHeight() + job_.lineHeight() / 3);
  const int margin = job_.leftMargin();
  const int usable = job_.pageWidth() - margin * 3 / 2;
  int x = 0;
  switch (alignment) {
    case Alignment::Left: x = Scaled(labelLeft) + margin; break;
    case Alignment::Right: x = usable - TextWidth(text); break;
    case Alignment::Center: x = (usable - TextWidth(text)) / 2 + margin; break;
  }
  if (followOn) x = std::max(x, lineEnd_ + gap_);
  job_.DrawText(x, job_.y(), text);
  lineEnd_ = x + TextWidth(text);
  return x;
}

void FormPrinter::PrintBoxed(const QString& value, int left) {
  // The value stands at the field's place and its frame one gap before it; only where the
  // printer's font ran the label past that frame does the box move right, to start where the
  // label ends.
  int x = std::max(Scaled(left) + job_.leftMargin(), lineEnd_ + gap_);
  job_.DrawText(x, job_.y(), value);
  lineEnd_ = x + TextWidth(value) + gap_;
  QPen previous = painter_.pen();
  painter_.setPen(QPen(Qt::black, 0));
  painter_.drawRect(QRect(QPoint(x - gap_, job_.y()), QPoint(x + TextWidth(value) + gap_, job_.y() + TextHeight())));
  painter_.setPen(previous);
}

void FormPrinter::PrintChoices(std::size_t index) {
  const FormItem& item = form_.items[index];
  const ItemGeometry& g = layout_.item(index);
  const FormStyle& style = form_.StyleOf(item);
  LayoutRect frame = OnArea(index, g.field);
  UseFont(style.font(1), true);
  PrintLine(Latin1(item.group.caption), frame.left, Alignment::Left);
  UseFont(style.font(2));
  bool radio = item.kind == FormItemKind::RadioGroup;
  const int half = Scaled(5), radius = Scaled(4), inner = Scaled(2);
  for (std::size_t k = 0; k < item.group.choices.size(); ++k) {
    const GroupChoice& choice = item.group.choices[k];
    int left = frame.left + (k < g.choices.size() ? g.choices[k].left : FormLayout::ChoiceLeft);
    job_.Advance(TextHeight() + job_.lineHeight() / 3);
    // The symbol is centred half-way down the text line, the caption follows it.
    int cx = Scaled(left) + job_.leftMargin() + half;
    int cy = job_.y() + TextHeight() / 2;
    QPen previousPen = painter_.pen();
    painter_.setPen(QPen(Qt::black, 0));
    if (radio) {
      painter_.setBrush(Qt::NoBrush);
      painter_.drawEllipse(QPoint(cx, cy), radius, radius);
      if (choice.checked) {
        painter_.setBrush(Qt::black);
        painter_.drawEllipse(QPoint(cx, cy), inner, inner);
        painter_.setBrush(Qt::NoBrush);
      }
    } else {
      painter_.drawRect(QRect(QPoint(cx - half, cy - half), QPoint(cx + half, cy + half)));
      if (choice.checked) {
        painter_.drawLine(cx - half, cy - half, cx + half, cy + half);
        painter_.drawLine(cx - half, cy + half, cx + half, cy - half);
      }
    }
    painter_.setPen(previousPen);
    int captionX = cx + (radio ? 2 * radius + inner : 2 * half);
    job_.DrawText(captionX, job_.y(), Latin1(choice.caption));
  }
}

void FormPrinter::PrintPicture(std::size_t index) {
  const QImage& image = pictures_.Picture(form_.items[index].picture);
  int width = Scaled(image.width()), height = Scaled(image.height());
  job_.Advance(height + job_.lineHeight());
  // Centred between the left margin and the right edge of the usable width, its bottom at y.
  const int margin = job_.leftMargin();
  int usable = job_.pageWidth() - margin * 3 / 2;
  int x = margin + (usable - margin - width) / 2;
  painter_.drawImage(QRect(x, job_.y() - height, width, height), image);
}

void FormPrinter::Run() {
  for (std::size_t i = 0; i < form_.items.size(); ++i) {
    if (!Printed(i)) continue;
    const FormItem& item = form_.items[i];
    const ItemGeometry& g = layout_.item(i);
    const FormStyle& style = form_.StyleOf(item);
    switch (item.kind) {
      case FormItemKind::Text:
        UseFont(style.font(1));
        PrintLine(Latin1(item.label), OnArea(i, g.label).left, g.labelAlignment);
        if (item.textField.present) PrintBoxed(Latin1(item.textField.text), OnArea(i, g.field).left);
        break;
      case FormItemKind::Numeric:
        UseFont(style.font(2));
        PrintLine(Latin1(item.label), OnArea(i, g.label).left, Alignment::Left);
        PrintBoxed(Latin1(item.numeric.text), OnArea(i, g.field).left);
        PrintLine(Latin1(form_.UnitCaption(i)), OnArea(i, g.unit).left, Alignment::Left, true);
        break;
      case FormItemKind::List:
        UseFont(style.font(2));
        PrintLine(Latin1(item.label), OnArea(i, g.label).left, Alignment::Left);
        PrintBoxed(Latin1(form_.ListDisplayText(i)), OnArea(i, g.field).left);
        break;
      case FormItemKind::File:
        UseFont(style.font(2));
        PrintLine(Latin1(item.label), OnArea(i, g.label).left, Alignment::Left);
        PrintBoxed(Latin1(item.file.fileName), OnArea(i, g.field).left);
        break;
      case FormItemKind::Group:
        UseFont(style.font(1), true);
        PrintLine(Latin1(item.group.caption), OnArea(i, g.field).left, Alignment::Left);
        break;
      case FormItemKind::CheckBoxGroup:
      case FormItemKind::RadioGroup: PrintChoices(i); break;
      case FormItemKind::Picture:
      case FormItemKind::AppLinkPicture: PrintPicture(i); break;
    }
  }
  painter_.setPen(Qt::black);
}

}  // namespace

void PrintForm(TPrintJob& job, const FormModel& form, const FormLayout& layout, FormPictures& pictures) {
  QFont previous = job.painter().font();
  FormPrinter(job, form, layout, pictures).Run();
  job.painter().setFont(previous);
}

}  // namespace tal

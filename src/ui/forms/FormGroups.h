#pragma once
// Group frames and the check boxes and radio buttons that switch groups on and off.
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <cstddef>

namespace tal {

class TTALKITForm;

// The frame of a plain, check-box or radio-button group, captioned with the group's caption.
// The frame line runs through the middle of the caption, so the items placed from the frame's
// top (the caption is as high as the caption's font) lie inside it. The caption has a font and
// colour of its own; the frame's font and colours are those its items inherit.
class Tmygroupbox : public QGroupBox {
  Q_OBJECT

 public:
  Tmygroupbox(std::size_t item, const QString& caption, QWidget* parent);
  std::size_t item() const { return item_; }
  void setCaptionStyle(const QFont& font, const QColor& colour);
  const QFont& captionFont() const { return captionFont_; }
  const QColor& captionColour() const { return captionColour_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::size_t item_;
  QFont captionFont_;
  QColor captionColour_;
};

class TGCheckBox : public QCheckBox {
  Q_OBJECT

 public:
  TGCheckBox(TTALKITForm* form, std::size_t item, std::size_t choice, const QString& caption, QWidget* parent);
  std::size_t item() const { return item_; }
  std::size_t choice() const { return choice_; }

 private:
  std::size_t item_, choice_;
};

// The buttons of one radio group are not exclusive by themselves: the form decides which one is
// checked (a group may start with none checked).
class TGRadioButton : public QRadioButton {
  Q_OBJECT

 public:
  TGRadioButton(TTALKITForm* form, std::size_t item, std::size_t choice, const QString& caption, QWidget* parent);
  std::size_t item() const { return item_; }
  std::size_t choice() const { return choice_; }

 private:
  std::size_t item_, choice_;
};

}  // namespace tal

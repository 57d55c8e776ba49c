#pragma once
// The edit fields of a form: TInput (numeric fields and the free-text fields of text lines) and
// TOpenFile (file fields). Each knows its form item by index; what happens on input belongs to
// the form window.
#include <QLineEdit>
#include <cstddef>

namespace tal {

class TTALKITForm;

// Tags that tell the kinds of fields apart.
inline constexpr int InputTag = 21;
inline constexpr int ListOrFileTag = 22;

class TInput : public QLineEdit {
  Q_OBJECT

 public:
  // `numberCheck`: a numeric field, checked when the focus leaves it.
  TInput(TTALKITForm* form, std::size_t item, bool numberCheck, QWidget* parent);

  std::size_t item() const { return item_; }
  bool numberCheck() const { return numberCheck_; }
  int tag() const { return InputTag; }

 protected:
  void focusOutEvent(QFocusEvent* event) override;

 private:
  TTALKITForm* form_;
  std::size_t item_;
  bool numberCheck_;
};

// A file field: shows the file name of an ASSIGN line; a mouse press (or Return) opens the file
// dialog. Typing is not possible: the name changes only through the dialog, so nothing typed
// can be silently left out of the deck.
class TOpenFile : public QLineEdit {
  Q_OBJECT

 public:
  TOpenFile(TTALKITForm* form, std::size_t item, QWidget* parent);

  std::size_t item() const { return item_; }
  int tag() const { return ListOrFileTag; }

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TTALKITForm* form_;
  std::size_t item_;
};

}  // namespace tal

#include "forms/FormFields.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include "forms/TalkitForm.h"

namespace tal {

TInput::TInput(TTALKITForm* form, std::size_t item, bool numberCheck, QWidget* parent)
    : QLineEdit(parent), form_(form), item_(item), numberCheck_(numberCheck) {
  // The form keeps its own model of what the user typed (the changed state, writing).
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { form_->InputChanged(*this, text); });
}

void TInput::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  form_->InputExit(*this, event->reason());
}

TOpenFile::TOpenFile(TTALKITForm* form, std::size_t item, QWidget* parent)
    : QLineEdit(parent), form_(form), item_(item) {
  setReadOnly(true);
}

void TOpenFile::mousePressEvent(QMouseEvent* event) {
  QLineEdit::mousePressEvent(event);
  form_->BrowseFile(*this);
}

void TOpenFile::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    form_->BrowseFile(*this);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace tal

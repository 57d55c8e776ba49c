#pragma once
// A child window that shows a text file read-only. The shell uses it for files whose own window
// kind is not at hand.
#include <string>

#include "shell/ChildForm.h"

class QPlainTextEdit;

namespace tal {

class TPlainTextChild : public TChildForm {
  Q_OBJECT

 public:
  // Shows `fileName` (as Latin-1 text), captioned with the name.
  TPlainTextChild(TTALSHELLFORM* shell, KindCode kind, const std::string& fileName);

  QPlainTextEdit* textView() const { return text_; }

 private:
  QPlainTextEdit* text_;
};

}  // namespace tal

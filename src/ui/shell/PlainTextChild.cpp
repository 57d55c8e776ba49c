#include "shell/PlainTextChild.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "support/Files.h"
#include "support/QtStrings.h"

namespace tal {

TPlainTextChild::TPlainTextChild(TTALSHELLFORM* shell, KindCode kind, const std::string& fileName)
    : TChildForm(shell, kind), text_(new QPlainTextEdit(this)) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(text_);
  text_->setReadOnly(true);
  text_->setLineWrapMode(QPlainTextEdit::NoWrap);
  text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  text_->setPlainText(ToQt(ReadWholeFile(fileName).value_or("")));
  setFileName(fileName);
  setCaption(fileName);
  resize(640, 400);
}

}  // namespace tal

#include "help/AddHelpDlg.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>

#include "help/HelpText.h"
#include "shell/ProgramFonts.h"
#include "support/Messages.h"
#include "support/QtStrings.h"

namespace tal {

QString HelpTextForDisplay(const std::string& text) {
  QString shown = ToQt(text);
  shown.replace("\r\n", "\n");
  return shown;
}

TAddHelpDlg::TAddHelpDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setFixedSize(484, 221);
  HelpMemo = new QPlainTextEdit(this);
  HelpMemo->setGeometry(0, 0, 484, 177);
  HelpMemo->setReadOnly(true);
  HelpMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QFont font = ProgramFont("MS Sans Serif", 10);
  font.setPixelSize(15);
  HelpMemo->setFont(font);
  HelpMemo->setPlainText("Help is not available for this subject");
  OKBtn = new QPushButton("OK", this);
  OKBtn->setGeometry(140, 186, 89, 27);
  OKBtn->setDefault(true);
  CopyB = new QPushButton("Copy", this);
  CopyB->setGeometry(255, 186, 89, 27);
  CopyB->setEnabled(false);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CopyB, &QPushButton::clicked, this, &TAddHelpDlg::CopyBClick);
  connect(HelpMemo, &QPlainTextEdit::copyAvailable, CopyB, &QPushButton::setEnabled);
}

bool TAddHelpDlg::Setup(const std::string& subject, const std::string& helpFile) {
  setWindowTitle(ToQt("Help for " + subject));
  HelpTextSetup setup = PrepareHelpText(helpFile);
  if (!setup.message.empty()) ShowMessageKind(setup.message, InformationOk, true);
  if (setup.action == HelpTextSetup::Action::Foreign) return false;
  HelpMemo->setPlainText(HelpTextForDisplay(setup.text));
  return true;
}

void TAddHelpDlg::ShowHelpFile(QWidget* parent, const std::string& subject, const std::string& helpFile) {
  TAddHelpDlg dialog(parent);
  if (dialog.Setup(subject, helpFile)) dialog.exec();
}

void TAddHelpDlg::CopyBClick() {
  QString selected = HelpMemo->textCursor().selectedText();
  selected.replace(QChar::ParagraphSeparator, '\n');
  if (!selected.isEmpty()) QApplication::clipboard()->setText(selected);
}

}  // namespace tal

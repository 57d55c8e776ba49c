#include "help/HelpDlg.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPushButton>

#include "forms/TalkitForm.h"
#include "help/AddHelpDlg.h"
#include "help/FormHelp.h"
#include "shell/ProgramFonts.h"
#include "support/QtStrings.h"

namespace tal {

THelpDlg::THelpDlg(int topic, const std::string& deckName, const std::string& caption, QWidget* parent)
    : QDialog(parent), topic_(topic), deckName_(deckName) {
  setWindowTitle(ToQt(caption));
  setFixedSize(523, 220);
  QFont font = ProgramFont("MS Sans Serif", 8);
  font.setPixelSize(11);
  font.setBold(true);
  setFont(font);
  Memo = new QPlainTextEdit(this);
  Memo->setGeometry(1, 1, 521, 169);
  Memo->setReadOnly(true);
  Memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  OKBtn = new QPushButton("OK", this);
  OKBtn->setGeometry(223, 180, 77, 27);
  OKBtn->setDefault(true);
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  FormActivate();
}

void THelpDlg::FormActivate() {
  Memo->clear();
  Memo->setPlainText(HelpTextForDisplay(FormHelpText(deckName_, topic_)));
}

void THelpDlg::ShowFormHelp(const FormHelpRequest& request) {
  THelpDlg dialog(request.topic, request.deckName, request.caption, QApplication::activeWindow());
  dialog.exec();
}

}  // namespace tal

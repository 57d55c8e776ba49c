// Printing a form window through the Print command into a PDF file (no printer installed).
#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QProcess>
#include <QTimer>
#include <filesystem>
#include <sstream>

#include "../shell/ShellTestSupport.h"
#include "FormWindowTestSupport.h"
#include "forms/TalkitForm.h"
#include "shell/PrintCommand.h"
#include "shell/PrintDlg.h"
#include "support/Files.h"

using namespace tal;

namespace {

std::string RunTool(const QString& tool, const QStringList& args) {
  QProcess process;
  process.start(tool, args);
  process.waitForFinished(30000);
  return process.readAllStandardOutput().toStdString();
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class FormPrint : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    makeFrame();
    PrinterInstalledCheck() = [] { return false; };
  }
  TTALKITForm* openForm(const std::vector<std::string>& lines) {
    std::string deck = formwindowtest::WriteDeck(dir, lines, "work/FORM.TKD");
    return qobject_cast<TTALKITForm*>(frame->NewFormWindow(deck));
  }
  // Prints the active window to a PDF file and returns the file's name.
  std::string printActive() {
    std::string pdf = dir.file("form.pdf");
    dialogs.answerText(pdf);
    QTimer::singleShot(0, [this] {
      TPrintDlg* dlg = frame->findChild<TPrintDlg*>();
      ASSERT_NE(dlg, nullptr);
      dlg->okButton()->click();
    });
    frame->Print1Click();
    return pdf;
  }
  std::string textOf(const std::string& pdf) { return RunTool("pdftotext", {"-layout", QString::fromStdString(pdf), "-"}); }
};

}  // namespace

TEST_F(FormPrint, PrintsLabelsValuesUnitsAndCaptions) {
  TTALKITForm* form = openForm(formwindowtest::HouseLines());
  ASSERT_NE(form, nullptr);
  std::string text = textOf(printActive());
  for (const char* part : {"Building data", "Heating system", "Floor area", "25", "m2", "Heater type", "Gas boiler",
                           "Options", "Use heating", "Weather file", "WEATHER.DAT"})
    EXPECT_TRUE(Contains(text, part)) << part << "\n" << text;
  // In item order.
  EXPECT_LT(text.find("Building data"), text.find("Floor area"));
  EXPECT_LT(text.find("Floor area"), text.find("Use heating"));
  EXPECT_LT(text.find("Use heating"), text.find("Weather file"));
}

TEST_F(FormPrint, SwitchedOffGroupsAreLeftOut) {
  TTALKITForm* form = openForm(formwindowtest::HouseLines());
  ASSERT_NE(form, nullptr);
  std::size_t box = 0;
  while (form->model().items[box].kind != FormItemKind::CheckBoxGroup) ++box;
  form->choiceOf(box, 0)->click();
  std::string text = textOf(printActive());
  for (const char* gone : {"Heating system", "Floor area", "m2", "Heater type", "Gas boiler"})
    EXPECT_FALSE(Contains(text, gone)) << gone << "\n" << text;
  for (const char* kept : {"Building data", "Options", "Use heating", "Weather file", "WEATHER.DAT"})
    EXPECT_TRUE(Contains(text, kept)) << kept << "\n" << text;
}

TEST_F(FormPrint, TypedValuesArePrinted) {
  TTALKITForm* form = openForm(formwindowtest::HouseLines());
  ASSERT_NE(form, nullptr);
  std::size_t area = 0;
  while (form->model().items[area].kind != FormItemKind::Numeric) ++area;
  qobject_cast<QLineEdit*>(form->fieldOf(area))->setText("734");
  form->ConvertUnits(1, 2);
  std::string text = textOf(printActive());
  EXPECT_TRUE(Contains(text, "7901")) << text;  // 734 m2 in ft2
  EXPECT_TRUE(Contains(text, "ft2")) << text;
}

TEST_F(FormPrint, PictureThatDoesNotFitStartsANewPage) {
  QImage tall(96, 900, QImage::Format_RGB32);
  tall.fill(Qt::darkGreen);
  std::filesystem::create_directories(dir.file("work"));
  ASSERT_TRUE(tall.save(QString::fromStdString(dir.file("work/TALL.BMP")), "BMP"));
  std::vector<std::string> lines{"*|*Before the picture"};
  for (int n = 0; n < 3; ++n) lines.push_back("*|*Line " + std::to_string(n));
  lines.push_back("*|<PICTURE> TALL.BMP");
  lines.push_back("*|*After the picture");
  ASSERT_NE(openForm(lines), nullptr);
  std::string pdf = printActive();
  std::string text = textOf(pdf);
  std::size_t pageBreak = text.find('\f');
  ASSERT_NE(pageBreak, std::string::npos) << text;
  EXPECT_LT(text.find("Before the picture"), pageBreak);
  EXPECT_GT(text.find("After the picture"), pageBreak);
  // The picture itself lies on page 2.
  std::string images = RunTool("pdfimages", {"-list", QString::fromStdString(pdf)});
  std::vector<std::string> rows = SplitLines(images);
  ASSERT_GE(rows.size(), 3u) << images;  // a heading, a rule, then one row per image
  std::istringstream row(rows[2]);
  int page = 0;
  row >> page;
  EXPECT_EQ(page, 2) << images;
}

// Where a printed form puts its lines: drawn onto a white page image with the fonts in use, so
// that the position of the ink and the print position after the form can be checked.
#include <gtest/gtest.h>

#include <QImage>
#include <QPdfWriter>
#include <QPainter>
#include <cmath>
#include <map>

#include "FormDecks.h"
#include "../shell/GuiApp.h"
#include "forms/FormFonts.h"
#include "forms/FormPrint.h"
#include "support/ScriptedInteraction.h"

using namespace tal;

namespace {

constexpr int PageWidth = 800, PageHeight = 1100;  // margin unit 100, left margin 50

class FormPrintLayout : public taltest::GuiTest {
 protected:
  // Reads the deck, lets `change` act on the form, and prints it on a fresh page. Returns the
  // print position after the form; `top` gets the position before it.
  int Print(const std::vector<std::string>& lines, const std::function<void(FormModel&)>& change = nullptr,
            double screenDpi = 96) {
    formtest::WriteCompanions(dir);
    ScriptedInteraction answers;
    ReadResult read = ReadDeck(dir.write("FORM.TKD", formtest::JoinLines(lines)));
    EXPECT_EQ(read.outcome, ReadOutcome::Complete);
    if (change) change(read.form);
    auto pictures = std::make_shared<FormPictures>();
    QtFormMetrics metrics(pictures);
    FormLayout layout = FormLayout::Build(read.form, metrics, true);
    page = QImage(PageWidth, PageHeight, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    TPrintJob job(painter, PageGeometry{PageWidth, PageHeight, false}, [] { return true; });
    job.setScreenDpi(screenDpi);
    job.Begin("1.0");
    top = job.y();
    margin = job.leftMargin();
    PrintForm(job, read.form, layout, *pictures);
    int after = job.y();
    job.End();
    return after;
  }
  // Leftmost and rightmost columns with ink between two rows; -1 when there is none.
  std::pair<int, int> InkColumns(int fromRow, int toRow) const {
    int left = -1, right = -1;
    for (int y = std::max(0, fromRow); y < std::min(PageHeight, toRow); ++y)
      for (int x = 0; x < PageWidth; ++x)
        if (page.pixelColor(x, y).lightness() < 200) {
          if (left < 0 || x < left) left = x;
          right = std::max(right, x);
        }
    return {left, right};
  }

  taltest::TempDir dir;
  QImage page;
  int top = 0, margin = 0;
};

}  // namespace

TEST_F(FormPrintLayout, RightAlignedLabelEndsOneAndAHalfLeftMarginsBeforeTheEdge) {
  int after = Print({"*|<ALIGN1 RIGHT", "*|*Right end"});
  auto [left, right] = InkColumns(top, after + 40);
  const int end = PageWidth - margin * 3 / 2;
  ASSERT_GE(right, 0) << "nothing printed";
  EXPECT_LE(right, end);
  EXPECT_GE(right, end - 4);  // the last letter's own side bearing
  EXPECT_GT(left, PageWidth / 2);
}

TEST_F(FormPrintLayout, LeftAlignedLabelStartsAtTheLeftMargin) {
  int after = Print({"*|*Left start"});
  auto [left, right] = InkColumns(top, after + 40);
  ASSERT_GE(left, 0) << "nothing printed";
  // The label's screen left (two character widths) times the scale, after the left margin.
  EXPECT_GE(left, margin);
  EXPECT_LT(left, margin + 30);
  EXPECT_LT(right, PageWidth / 2);
}

TEST_F(FormPrintLayout, AnEmptyLabelStillAdvancesOneLine) {
  int oneLine = Print({"*|*A"}) - top;
  ASSERT_GT(oneLine, 0);
  EXPECT_EQ(Print({"*|*A", "*|*", "*|*B"}) - top, 3 * oneLine);
}

TEST_F(FormPrintLayout, AFormWithEveryGroupSwitchedOffPrintsOnlyWhatLiesOutside) {
  const std::vector<std::string> deck{"*|*Outside", "*|[G|Group",  "X=1", "*|Inside|m|ft|0|1|0|10", "*|]",
                                      "*|[H|Second", "Y=1",         "*|Also inside|m|ft|0|1|0|10", "*|]",
                                      "*|*After"};
  int withGroups = Print(deck) - top;
  int switchedOff = Print(deck, [](FormModel& form) {
    form.SwitchGroup("G", false);
    form.SwitchGroup("H", false);
  }) - top;
  int outsideOnly = Print({"*|*Outside", "*|*After"}) - top;
  EXPECT_GT(withGroups, outsideOnly);
  EXPECT_EQ(switchedOff, outsideOnly);
}

TEST_F(FormPrintLayout, FormPositionsPrintAtOneMarginUnitPerInchOnAnyScreen) {
  // An indent of 2 inches (192 form pixels) after the two-character margin.
  const std::vector<std::string> deck{"*|<TAB0 2 IN", "*|*Indented"};
  int after = Print(deck);
  int left = InkColumns(top, after + 40).first;
  const int unit = PageHeight / 11;
  EXPECT_GE(left, margin + 2 * unit);
  EXPECT_LT(left, margin + 2 * unit + unit / 3);  // plus the form's two-character margin
  // A screen of twice the resolution shows the form at the same 96 pixels to the inch.
  after = Print(deck, nullptr, 192);
  EXPECT_EQ(InkColumns(top, after + 40).first, left);
}

TEST_F(FormPrintLayout, BoxedValuesPrintAtTheFieldsLeftUnlessTheLabelRunsOn) {
  const std::string wide(16, 'W');  // its field placed by a tab stop where the label still runs
  const std::vector<std::string> deck{"A=1234", "*|Outside|m|ft|0|1|0|9999", "*|[G|Group", "B=5678",
                                      "*|Inside|m|ft|0|1|0|9999", "*|]", "*|<TAB2 40", "C=4321", "*|" + wide + "|m|ft|0|1|0|9999"};
  formtest::WriteCompanions(dir);
  ScriptedInteraction answers;
  ReadResult read = ReadDeck(dir.write("FORM.TKD", formtest::JoinLines(deck)));
  ASSERT_EQ(read.outcome, ReadOutcome::Complete);
  auto pictures = std::make_shared<FormPictures>();
  QtFormMetrics metrics(pictures);
  FormLayout layout = FormLayout::Build(read.form, metrics, true);
  struct Field {
    std::string label, value;
    bool atFieldLeft;
    int expectedLeft = 0;
  } fields[] = {{"Outside", "1234", true}, {"Inside", "5678", true}, {wide, "4321", false}};
  QPdfWriter pdf(QString::fromStdString(dir.file("form.pdf")));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  PrintEntry entry{KindCode::TalkitForm, [&](TPrintJob& job) {
                     // The field's left on the form, one margin unit per inch, after the left margin.
                     const double scale = static_cast<double>(job.margin()) / FormPixelsPerInch;
                     for (Field& f : fields) {
                       const auto i = static_cast<std::size_t>(formtest::FindItem(read.form, FormItemKind::Numeric, f.label));
                       const LayoutRect field = layout.AreaRect(read.form, i, layout.item(i).field);
                       f.expectedLeft = static_cast<int>(std::lround(field.left * scale)) + job.leftMargin();
                     }
                     PrintForm(job, read.form, layout, *pictures);
                   }};
  ASSERT_TRUE(PrintDocument(pdf, {entry}, {"2.015", 96, {}}));
  const double perPoint = pdf.resolution() / 72.0;
  std::map<std::string, taltest::PdfWord> words;
  for (const taltest::PdfWord& w : taltest::PdfWords(dir.file("form.pdf"))) words[w.text] = w;
  for (const Field& f : fields) {
    ASSERT_TRUE(words.count(f.value) && words.count(f.label)) << f.value;
    const double x = words[f.value].xMin;
    if (f.atFieldLeft) {
      EXPECT_NEAR(x, f.expectedLeft / perPoint, 0.5) << f.value;
    } else {
      // The box keeps clear of the label: its frame starts where the label ends.
      EXPECT_GT(x, f.expectedLeft / perPoint + 0.5) << f.value;
      EXPECT_GT(x, words[f.label].xMax + 1) << f.value;
    }
  }
}

// Where a printed form puts its lines: drawn onto a white page image with the fonts in use, so
// that the position of the ink and the print position after the form can be checked.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "FormDecks.h"
#include "../shell/GuiApp.h"
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

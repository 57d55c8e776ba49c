#include <gtest/gtest.h>

#include <QImage>
#include <QPdfWriter>
#include <QProcess>

#include "GuiApp.h"
#include "TestSupport.h"
#include "shell/PrintJob.h"

using namespace tal;

namespace {

using PrintJobTest = taltest::GuiTest;

const QDateTime FixedTime(QDate(2024, 5, 17), QTime(14, 30));

// Text of the PDF as pdftotext reads it; pages are separated by form feeds.
std::string PdfText(const std::string& pdf) {
  QProcess process;
  process.start("pdftotext", {"-layout", QString::fromStdString(pdf), "-"});
  process.waitForFinished(30000);
  return process.readAllStandardOutput().toStdString();
}

// Font names pdffonts lists for one page.
std::string PdfFontsOfPage(const std::string& pdf, int page) {
  QProcess process;
  QString p = QString::number(page);
  process.start("pdffonts", {"-f", p, "-l", p, QString::fromStdString(pdf)});
  process.waitForFinished(30000);
  return process.readAllStandardOutput().toStdString();
}

std::vector<std::string> Pages(const std::string& text) {
  std::vector<std::string> pages;
  std::size_t start = 0;
  for (;;) {
    std::size_t feed = text.find('\f', start);
    pages.push_back(text.substr(start, feed == std::string::npos ? std::string::npos : feed - start));
    if (feed == std::string::npos) break;
    start = feed + 1;
  }
  while (!pages.empty() && pages.back().find_first_not_of(" \n") == std::string::npos) pages.pop_back();
  return pages;
}

// The lines of `before`, then `lines` numbered lines after `prefix`; `name` in the page headers.
PrintEntry TextEntry(int lines, const std::string& prefix, const std::vector<std::string>& before = {},
                     const std::string& name = "") {
  return {KindCode::DeckEditor, [lines, prefix, before](TPrintJob& job) {
            int n = 0;
            PrintTextLines(job, [&](std::string& line) {
              if (n >= lines) return false;
              line = n < static_cast<int>(before.size()) ? before[n] : prefix + std::to_string(n + 1 - before.size());
              return ++n, true;
            });
          },
          nullptr, name};
}

std::string WritePdf(const taltest::TempDir& dir, const std::vector<PrintEntry>& entries, bool landscape = false) {
  std::string path = dir.file("job.pdf");
  QPdfWriter writer(QString::fromStdString(path));
  writer.setResolution(300);
  writer.setPageSize(QPageSize(QPageSize::A4));
  writer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  PrintOptions options{"2.015", 96.0, [] { return FixedTime; }};
  EXPECT_TRUE(PrintDocument(writer, entries, options));
  return path;
}

}  // namespace

TEST_F(PrintJobTest, AnEditorLongerThanAPageBreaksWithAPageHeaderAndKeepsItsFont) {
  taltest::TempDir dir;
  std::string pdf = WritePdf(dir, {TextEntry(150, "deck line ")});
  std::vector<std::string> pages = Pages(PdfText(pdf));
  ASSERT_GE(pages.size(), 3u);
  std::string stamp = QLocale::system().toString(FixedTime, QLocale::ShortFormat).toStdString();
  EXPECT_NE(pages[0].find("TALSHELL Ver. 2.015"), std::string::npos);
  EXPECT_NE(pages[0].find(stamp), std::string::npos);
  EXPECT_EQ(pages[0].find("Page "), std::string::npos) << "the first page has the job header instead";
  EXPECT_NE(pages[1].find("Page 2"), std::string::npos);
  EXPECT_NE(pages[1].find(stamp), std::string::npos);
  EXPECT_NE(pages[2].find("Page 3"), std::string::npos);
  // Every line once, in order, across the pages.
  std::string all;
  for (const std::string& page : pages) all += page;
  std::size_t at = 0;
  for (int i = 1; i <= 150; ++i) {
    std::string line = "deck line " + std::to_string(i) + "\n";
    std::size_t found = all.find(line, at);
    ASSERT_NE(found, std::string::npos) << "missing or out of order: " << line;
    at = found + line.size();
  }
  // After the page header (Arial) the lines go on in the fixed-pitch editor font.
  std::string fonts = PdfFontsOfPage(pdf, 2);
  EXPECT_NE(fonts.find("Mono"), std::string::npos) << fonts;
  EXPECT_NE(fonts.find("Sans"), std::string::npos) << fonts;
}

TEST_F(PrintJobTest, TwoPlotsPrintOnPagesOfTheirOwnAndTextAfterAPlotStartsANewPage) {
  std::vector<int> plotPages;
  auto plot = [&plotPages](TPrintJob& job) {
    job.Advance(job.lineHeight());  // a plot's caption line
    plotPages.push_back(job.pageNumber());
    job.Advance(job.pageHeight() / 3);
  };
  auto height = [](TPrintJob& job) { return job.pageHeight() / 3; };
  taltest::TempDir dir;
  std::string pdf = WritePdf(dir, {TextEntry(3, "before "), {KindCode::Plot, plot, height}, {KindCode::Plot, plot, height},
                                   TextEntry(2, "after ")});
  ASSERT_EQ(plotPages.size(), 2u);
  EXPECT_EQ(plotPages[0], 1) << "the first plot fits below the text";
  EXPECT_EQ(plotPages[1], 2);
  std::vector<std::string> pages = Pages(PdfText(pdf));
  ASSERT_EQ(pages.size(), 3u);
  EXPECT_NE(pages[0].find("before 3"), std::string::npos);
  EXPECT_EQ(pages[1].find("after"), std::string::npos);
  EXPECT_NE(pages[2].find("Page 3"), std::string::npos);
  EXPECT_NE(pages[2].find("after 1"), std::string::npos) << "the text after a plot is on a new page";
}

TEST_F(PrintJobTest, MarginUnitFollowsTheOrientation) {
  for (bool landscape : {false, true}) {
    QPdfWriter writer(QString::fromStdString(taltest::TempDir().file("m.pdf")));
    writer.setResolution(300);
    writer.setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    PageGeometry page = PageGeometryOf(writer);
    EXPECT_EQ(page.landscape, landscape);
    QImage canvas(page.width, page.height, QImage::Format_RGB32);
    QPainter painter(&canvas);
    TPrintJob job(painter, page, [] { return true; });
    job.Begin("2.015");
    EXPECT_EQ(job.margin(), (landscape ? page.width : page.height) / 11);
    EXPECT_EQ(job.leftMargin(), job.margin() / 2);
    EXPECT_EQ(job.y(), job.margin() / 4 + 3 * (job.lineHeight() - 1) + 3);
    job.End();
  }
}

TEST_F(PrintJobTest, HeaderStandsBetweenTheLeftMarginAndHalfALeftMarginFromTheRightEdge) {
  PageGeometry page{1100, 1400, false};
  QImage canvas(page.width, page.height, QImage::Format_RGB32);
  canvas.fill(Qt::white);
  QPainter painter(&canvas);
  TPrintJob job(painter, page, [] { return true; });
  job.setClock([] { return FixedTime; });
  job.Begin("2.015");
  job.End();
  painter.end();
  int left = page.width, right = -1;
  for (int y = 0; y < job.y(); ++y)
    for (int x = 0; x < page.width; ++x)
      if (canvas.pixel(x, y) != QColor(Qt::white).rgb()) {
        left = std::min(left, x);
        right = std::max(right, x);
      }
  int margin = page.height / 11;
  EXPECT_GE(left, margin / 2);
  EXPECT_LE(left, margin / 2 + 3);
  int end = page.width - (margin / 2) / 2;
  EXPECT_LE(right, end);
  EXPECT_GE(right, end - 4);
}

TEST_F(PrintJobTest, AdvanceBreaksOnlyWhileTheJobRunsAndOnlyPastTheBottomMargin) {
  PageGeometry page{1100, 1100, false};
  QImage canvas(page.width, page.height, QImage::Format_RGB32);
  QPainter painter(&canvas);
  int newPages = 0;
  TPrintJob job(painter, page, [&] { ++newPages; return true; });
  job.setY(0);
  job.Advance(5000);
  EXPECT_EQ(newPages, 0) << "no job runs yet";
  EXPECT_FALSE(TPrintJob::Printing());
  job.Begin("2.015");
  EXPECT_TRUE(TPrintJob::Printing());
  job.setY(page.height - job.margin() - 10);
  job.Advance(10);
  EXPECT_EQ(newPages, 0) << "exactly at the bottom margin still fits";
  job.Advance(1);
  EXPECT_EQ(newPages, 1);
  EXPECT_EQ(job.pageNumber(), 2);
  EXPECT_EQ(job.y(), job.margin() + 1);
  job.End();
  EXPECT_FALSE(TPrintJob::Printing());
}

TEST_F(PrintJobTest, APictureIsScaledByTheMarginPerScreenInchAndMovesToANewPageWhenItWouldNotFit) {
  PageGeometry page{1100, 1320, false};  // m = 120
  QImage canvas(page.width, page.height, QImage::Format_RGB32);
  QPainter painter(&canvas);
  int newPages = 0;
  TPrintJob job(painter, page, [&] { ++newPages; return true; });
  job.setScreenDpi(96);
  job.Begin("2.015");
  QImage picture(96, 48, QImage::Format_RGB32);  // one by a half screen inch
  picture.fill(Qt::red);
  int top = job.y();
  PrintPicture(job, picture);
  EXPECT_EQ(job.y(), top + 60) << "48 pixels * 120 / 96";
  EXPECT_EQ(newPages, 0);
  job.setY(page.height - job.margin() - 30);
  PrintPicture(job, picture);
  EXPECT_EQ(newPages, 1);
  EXPECT_EQ(job.y(), job.margin() + 60) << "drawn at the top of the new page";
  job.End();
}

// A line wider than the page goes on in indented printed lines: every word of a 111-character
// line of numbers and of a 400-character line without blanks reaches the paper, on A4 portrait.
// The page headers name the file of the window being printed, so the pages of a job of several
// windows can be told apart.
TEST_F(PrintJobTest, LongLinesContinueIndentedAndPageHeadersNameTheFile) {
  std::string numbers, solid;
  for (int i = 1; i <= 16; ++i) numbers += (i > 1 ? " " : "") + std::string(i < 10 ? "N0" : "N") + std::to_string(i) + "-01";
  ASSERT_EQ(numbers.size(), 111u);
  for (int i = 0; i < 40; ++i) solid += "ABCDEFGHI" + std::to_string(i % 10);
  taltest::TempDir dir;
  std::string text = PdfText(WritePdf(dir, {TextEntry(103, "first ", {numbers, solid, "short"}, "/work/A.LST"),
                                            TextEntry(100, "second ", {}, "/work/B.OUT")}));
  std::string squeezed;  // the printed text without blanks and line ends, to follow the characters
  std::copy_if(text.begin(), text.end(), std::back_inserter(squeezed), [](char c) { return c != ' ' && c != '\n'; });
  for (int i = 1; i <= 16; ++i) {
    std::string word = std::string(i < 10 ? "N0" : "N") + std::to_string(i) + "-01";
    EXPECT_NE(text.find(word), std::string::npos) << word << " is cut:\n" << text;
  }
  EXPECT_NE(squeezed.find(solid + "short"), std::string::npos) << text;
  // The continuation is a printed line of its own, indented against the line's start.
  auto lineWith = [&text](const std::string& word) {
    std::size_t at = text.find(word);
    std::size_t start = text.rfind('\n', at) + 1;
    return text.substr(start, text.find('\n', at) - start);
  };
  std::string start = lineWith("N01-01"), continued = lineWith("N16-01");
  EXPECT_NE(start, continued);
  EXPECT_GT(continued.find_first_not_of(' '), start.find_first_not_of(' ')) << start << "\n" << continued;
  std::vector<std::string> pages = Pages(text);
  ASSERT_GE(pages.size(), 3u);
  EXPECT_NE(pages[0].find("/work/A.LST"), std::string::npos);
  EXPECT_NE(pages[1].find("/work/A.LST"), std::string::npos) << pages[1];
  EXPECT_NE(pages.back().find("/work/B.OUT"), std::string::npos) << pages.back();
  EXPECT_EQ(pages.back().find("/work/A.LST"), std::string::npos);
}

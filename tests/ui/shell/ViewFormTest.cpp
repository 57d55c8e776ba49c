// The viewer window: a read-only view of listings and output files of any size, with find,
// search again and copy.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QRadioButton>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "ShellTestSupport.h"
#include "shell/FindDialogs.h"
#include "shell/ViewForm.h"
#include "support/Files.h"

using namespace tal;

class ViewFormTest : public taltest::ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    makeFrame();
  }
  TViewForm* openViewer(const std::string& name, const std::string& bytes, KindCode kind = KindCode::Output) {
    return qobject_cast<TViewForm*>(frame->NewViewerWindow(dir.write(name, bytes), kind));
  }
  // Runs the event loop until `done` or about ten seconds.
  template <typename Done>
  bool waitFor(Done done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
  }
  // Runs the viewer's find to its end; the result.
  bool find(TViewForm* viewer) {
    std::optional<bool> result;
    viewer->Find([&](bool found) { result = found; });
    EXPECT_TRUE(waitFor([&] { return result.has_value(); }));
    return result.value_or(false);
  }
};

TEST_F(ViewFormTest, ShowsTheFileReadOnlyUnderItsName) {
  TViewForm* viewer = openViewer("A.LST", "LISTING\r\n\tTAB\fFEED\nlast", KindCode::Listing);
  ASSERT_TRUE(viewer->isOpen());
  EXPECT_EQ(viewer->kind(), KindCode::Listing);
  EXPECT_EQ(viewer->caption(), dir.file("A.LST"));
  const TextFileIndex& index = viewer->view()->index();
  ASSERT_EQ(index.lineCount(), 3u);
  EXPECT_EQ(index.Line(0), "LISTING");
  EXPECT_EQ(index.Line(2), "last");
  QTest::keyClicks(viewer->view(), "typed");
  EXPECT_EQ(index.Line(0), "LISTING") << "nothing can be typed into a viewer";
}

TEST_F(ViewFormTest, AFileThatCannotBeReadIsNamedInAMessage) {
  auto* viewer = new TViewForm(frame.get(), dir.file("GONE.OUT"), KindCode::Output);
  frame->AddChild(viewer);
  EXPECT_FALSE(viewer->isOpen());
  ASSERT_EQ(dialogs.messages().size(), 1u);
  EXPECT_NE(dialogs.messages()[0].find(dir.file("GONE.OUT")), std::string::npos);
}

TEST_F(ViewFormTest, FindGoesDownOrUpWithOrWithoutMatchCaseAndSearchAgainRepeatsIt) {
  TViewForm* viewer = openViewer("A.OUT", "Total 1\nTOTAL 2\nsubtotal 3\ntotal 4\n");
  frame->Find1Click();
  TFindDlg* dialog = viewer->findDialog();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(dialog->wholeWordBox()->isHidden()) << "the viewer's dialog has no whole-word option";
  dialog->findEdit()->setText("total");
  ASSERT_TRUE(find(viewer));
  EXPECT_EQ(viewer->view()->caret(), (TextPlace{0, 5}));
  EXPECT_EQ(viewer->view()->selectedText(), "Total");

  dialog->matchCaseBox()->setChecked(true);
  ASSERT_TRUE(find(viewer));
  EXPECT_EQ(viewer->view()->anchor(), (TextPlace{2, 3})) << "subtotal";
  frame->SearchAgain1Click();
  ASSERT_TRUE(waitFor([&] { return !viewer->view()->searching(); }));
  EXPECT_EQ(viewer->view()->anchor(), (TextPlace{3, 0}));

  int beeps = dialogs.beeps();
  EXPECT_FALSE(find(viewer));
  EXPECT_EQ(dialogs.beeps(), beeps + 1);
  EXPECT_EQ(viewer->view()->anchor(), (TextPlace{3, 0})) << "the selection stays when nothing is found";
  EXPECT_EQ(dialog->findEdit()->text(), "total") << "the find text stays";

  dialog->upButton()->setChecked(true);
  ASSERT_TRUE(find(viewer));
  EXPECT_EQ(viewer->view()->anchor(), (TextPlace{2, 3}));
}

TEST_F(ViewFormTest, CopyPutsTheSelectedBytesOnTheClipboard) {
  TViewForm* viewer = openViewer("A.OUT", "first line\nsecond line\n");
  viewer->view()->Select({0, 6}, {1, 6});
  frame->Copy1Click();
  EXPECT_EQ(QApplication::clipboard()->text(), "line\nsecond");
  int beeps = dialogs.beeps();
  viewer->view()->Select({1, 2}, {1, 2});
  frame->Copy1Click();
  EXPECT_EQ(dialogs.beeps(), beeps + 1) << "nothing selected";
}

TEST_F(ViewFormTest, ALargeFileShowsAtOnceAndIsSearchedWithoutHoldingTheWindow) {
  std::string bytes;
  bytes.reserve(24 * 1024 * 1024);
  for (int i = 0; bytes.size() < 24u * 1024 * 1024; ++i) bytes += "  TIME " + std::to_string(i) + "   1.000E+00   2.000E+00\n";
  bytes += "  THE END OF THE RUN\n";
  TViewForm* viewer = openViewer("BIG.OUT", bytes);
  ASSERT_TRUE(viewer->isOpen());
  const TextFileIndex& index = viewer->view()->index();
  EXPECT_FALSE(index.complete()) << "opening indexes only the beginning";
  EXPECT_GT(index.lineCount(), 100u);
  EXPECT_EQ(index.Line(0), "  TIME 0   1.000E+00   2.000E+00");

  viewer->findDialog()->findEdit()->setText("end of the run");
  std::optional<bool> found;
  viewer->Find([&](bool f) { found = f; });
  EXPECT_FALSE(found.has_value()) << "the search goes on from the event loop";
  EXPECT_TRUE(viewer->view()->searching());
  ASSERT_TRUE(waitFor([&] { return found.has_value(); }));
  EXPECT_TRUE(*found);
  ASSERT_TRUE(waitFor([&] { return index.complete(); }));
  EXPECT_EQ(viewer->view()->anchor().line, index.lineCount() - 1);
  EXPECT_GE(viewer->view()->firstVisibleLine() + viewer->view()->visibleLineCount(), index.lineCount() - 1)
      << "the found line is on screen";
}

TEST_F(ViewFormTest, ControlEndWhileIndexingFollowsTheFileToItsEnd) {
  std::string bytes;
  for (int i = 0; bytes.size() < 12u * 1024 * 1024; ++i) bytes += "row " + std::to_string(i) + "\n";
  TViewForm* viewer = openViewer("A.O01", bytes);
  viewer->view()->setFocus();
  QTest::keyClick(viewer->view(), Qt::Key_End, Qt::ControlModifier);
  ASSERT_TRUE(waitFor([&] { return viewer->view()->index().complete(); }));
  QApplication::processEvents();
  std::size_t lines = viewer->view()->index().lineCount();
  EXPECT_EQ(viewer->view()->firstVisibleLine() + static_cast<std::size_t>(viewer->view()->visibleLineCount()), lines);
  EXPECT_EQ(viewer->view()->caret().line, lines - 1);
}

TEST_F(ViewFormTest, AnEmptyFileTakesClicksKeysFindAndCopyWithoutHarm) {
  TViewForm* viewer = openViewer("EMPTY.OUT", "");
  ASSERT_TRUE(viewer->isOpen());
  TTextFileView* view = viewer->view();
  ASSERT_TRUE(waitFor([&] { return view->index().complete(); }));
  EXPECT_EQ(view->index().lineCount(), 0u);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
  QTest::mouseDClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(30, 30));
  for (Qt::Key key : {Qt::Key_Down, Qt::Key_End, Qt::Key_PageDown, Qt::Key_Right, Qt::Key_Left, Qt::Key_Up})
    QTest::keyClick(view, key);
  QTest::keyClick(view, Qt::Key_End, Qt::ControlModifier);
  viewer->grab();  // paints
  EXPECT_FALSE(view->hasSelection());

  int beeps = dialogs.beeps();
  viewer->findDialog()->findEdit()->setText("anything");
  EXPECT_FALSE(find(viewer));
  frame->Copy1Click();
  EXPECT_EQ(dialogs.beeps(), beeps + 2) << "not found, nothing to copy";
}

// A search says in the status bar that it runs and, when it finds nothing, what was not found
// where (besides the beep). Go to Line moves the caret there and shows its place; a line past the
// end is named.
TEST_F(ViewFormTest, TheStatusBarFollowsASearchAndGoToLine) {
  std::string bytes;
  for (int i = 1; i <= 2000; ++i) bytes += "\tline " + std::to_string(i) + "\n";
  TViewForm* viewer = openViewer("BIG.LST", bytes, KindCode::Listing);
  auto status = [this] { return frame->statusBar()->currentMessage().toStdString(); };
  viewer->findDialog()->setFindText("absent");
  std::optional<bool> result;
  viewer->Find([&](bool found) { result = found; });
  EXPECT_EQ(status(), "Searching for \"absent\" in BIG.LST...");
  ASSERT_TRUE(waitFor([&] { return result.has_value(); }));
  EXPECT_FALSE(*result);
  EXPECT_EQ(dialogs.beeps(), 1);
  EXPECT_EQ(status(), "\"absent\" was not found below the cursor in BIG.LST.");
  viewer->findDialog()->setFindText("line 2000");
  EXPECT_TRUE(find(viewer));
  EXPECT_TRUE(status().empty());

  EXPECT_TRUE(enabled(MenuItem::GoToLine));
  dialogs.answerText("30");
  frame->GoToLine1Click();
  EXPECT_EQ(viewer->view()->caret(), (TextPlace{29, 0}));
  auto* place = frame->statusBar()->findChild<QLabel*>("CursorPlace");
  ASSERT_NE(place, nullptr);
  EXPECT_EQ(place->text(), "Line 30, Column 1");
  viewer->view()->Select({4, 1}, {4, 1});
  EXPECT_EQ(place->text(), "Line 5, Column 9") << "after the tab";
  dialogs.answerText("2001");
  frame->GoToLine1Click();
  EXPECT_EQ(dialogs.messages(), std::vector<std::string>{"There is no line 2001: " + dir.file("BIG.LST") + " has 2000 lines."});
}

// A run writes the file a viewer shows: lines appended come in, a file written anew in place or
// replaced is shown whole (never cut at its old length), the line at the top stays, and a view at
// the end follows the end. The window notices by itself.
TEST_F(ViewFormTest, ShowsWhatARunWritesIntoTheFileAndFollowsItsEnd) {
  const std::string path = dir.file("HOUSE.LST");
  TViewForm* viewer = openViewer("HOUSE.LST", "TALPIX listing\nThe run e", KindCode::Listing);
  const TextFileIndex& index = viewer->view()->index();
  auto shows = [&](const std::string& bytes) {
    return waitFor([&] { return index.complete() && index.Lines(0, index.lineCount() + 1) == SplitLines(bytes); });
  };
  auto write = [&](const std::string& bytes, std::ios::openmode mode) {
    std::ofstream(path, std::ios::binary | mode) << bytes;
  };
  write("nded normally.\n", std::ios::app);
  EXPECT_TRUE(shows("TALPIX listing\nThe run ended normally.\n")) << "appended";

  std::string second = "TALPIX listing of the second run\n";
  for (int i = 0; i < 200; ++i) second += "  step " + std::to_string(i) + "\n";
  second += "The run ended normally.\n";
  write(second, std::ios::trunc);  // in place, as a table run rewrites it
  ASSERT_TRUE(shows(second)) << "written anew";

  viewer->view()->Select({110, 3}, {110, 5});
  viewer->view()->ScrollToLine(100);
  std::string third = "TALPIX listing of the third run\n";
  for (int i = 0; i < 200; ++i) third += "  step " + std::to_string(i) + ", again\n";
  std::ofstream(path + ".new", std::ios::binary) << third;
  std::filesystem::rename(path + ".new", path);  // replaced by another file
  ASSERT_TRUE(shows(third)) << "replaced";
  EXPECT_EQ(viewer->view()->firstVisibleLine(), 100u) << "the line at the top stays";
  EXPECT_EQ(viewer->view()->caret(), (TextPlace{110, 5}));

  viewer->FollowEnd();
  std::string more;
  for (int i = 0; i < 100; ++i) more += "  more " + std::to_string(i) + "\n";
  write(more, std::ios::app);
  ASSERT_TRUE(shows(third + more)) << "grown";
  EXPECT_EQ(viewer->view()->firstVisibleLine() + static_cast<std::size_t>(viewer->view()->visibleLineCount()),
            index.lineCount())
      << "the end followed";

  write("short\n", std::ios::trunc);
  ASSERT_TRUE(shows("short\n")) << "shortened";
  EXPECT_EQ(viewer->view()->caret(), (TextPlace{0, 5}));
}

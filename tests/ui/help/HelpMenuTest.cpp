// The Help menu: the HTML manual in the help browser, plain help files in the help text window,
// help files of another platform's viewer and missing files only named.
#include <QListWidget>
#include <QTextBrowser>

#include "../shell/ShellTestSupport.h"
#include "HelpTestSupport.h"
#include "help/HelpBrowser.h"

using namespace tal;
using namespace taltest;

namespace {

class HelpMenu : public ShellTest {
 protected:
  THelpBrowser* browser() const { return frame->findChild<THelpBrowser*>(); }
};

TEST_F(HelpMenu, IndexOpensTheHtmlManualOfTheModeInTheBrowserWithContentsHistoryAndFind) {
  dir.write("talkit.HTML", "<html><head><title>Form help</title></head><body>"
                           "<a href=\"pages/one.html\">Page one</a> <a href=\"pages/two.html#end\">Page two</a></body></html>");
  dir.write("pages/one.html", "<html><body><p>first page</p><a href=\"two.html\">on</a></body></html>");
  dir.write("pages/two.html", "<html><body><p>second page, second word</p><p id=\"end\">end</p></body></html>");
  dir.write("TALKIT.HLP", "plain text that the manual replaces");
  makeFrame(true);
  frame->action(MenuItem::TalshellIndex)->trigger();

  THelpBrowser* help = browser();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->windowTitle(), "Help - Form help");
  ASSERT_EQ(help->contents()->count(), 3);
  EXPECT_EQ(help->contents()->item(1)->text().trimmed(), "Page one");
  EXPECT_FALSE(help->backAction()->isEnabled());

  help->contents()->itemClicked(help->contents()->item(1));
  EXPECT_TRUE(help->browser()->toPlainText().contains("first page"));
  EXPECT_EQ(help->contents()->currentRow(), 1);
  help->browser()->setSource(help->browser()->source().resolved(QUrl("two.html")));
  EXPECT_TRUE(help->FindText("second"));
  EXPECT_TRUE(help->FindText("second"));
  EXPECT_TRUE(help->FindText("second"));  // starts over at the top
  EXPECT_EQ(help->browser()->textCursor().selectionStart(), 0);
  EXPECT_FALSE(help->FindText("absent"));
  EXPECT_EQ(dialogs.beeps(), 1);

  ASSERT_TRUE(help->backAction()->isEnabled());
  help->backAction()->trigger();
  EXPECT_TRUE(help->browser()->toPlainText().contains("first page"));
  help->forwardAction()->trigger();
  EXPECT_TRUE(help->browser()->toPlainText().contains("second page"));
  EXPECT_TRUE(dialogs.messages().empty());
}

TEST_F(HelpMenu, PlainForeignAndMissingFilesOfTheProgramDirectory) {
  struct Case {
    MenuItem item;
    std::string file;  // written in the program directory ("" = none)
    std::string bytes;
    QString window;    // the help text window's title, "" when none shows
    QString text;
    std::string message;  // with the program directory as "DIR"
  } cases[] = {
      {MenuItem::TalpixErrorMessages, "error.hlp", "Error 12\nmeans a unit\n\nwithout inputs.\n",
       "Help for TALPIX Error Messages", "Error 12 means a unit \n\nwithout inputs.  ", ""},
      {MenuItem::TypesIndex, "TYPES.HLP", std::string("?_\x03\x00rest", 7), "", "",
       "The help file DIR/TYPES.HLP is written for the help viewer of another system and cannot be shown here."},
      {MenuItem::TalpixIndex, "", "", "", "", "File DIR/Typeindx.Hlp was not found."},
  };
  for (const Case& c : cases) {
    if (!c.file.empty()) dir.write(c.file, c.bytes);
    makeFrame();
    dialogs.clear();
    helptest::ModalWatcher watcher;
    frame->action(c.item)->trigger();
    SCOPED_TRACE(c.file);
    if (c.window.isEmpty()) {
      EXPECT_TRUE(watcher.titles.empty());
    } else {
      ASSERT_EQ(watcher.titles.size(), 1u);
      EXPECT_EQ(watcher.titles[0], c.window);
      EXPECT_EQ(watcher.texts[0], c.text);
    }
    std::string message = c.message;
    if (auto at = message.find("DIR"); at != std::string::npos) message.replace(at, 3, dir.path());
    EXPECT_EQ(dialogs.messages(), message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
    EXPECT_EQ(browser(), nullptr);
  }
}

}  // namespace

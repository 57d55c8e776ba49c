// The program's manual: every menu command of both modes is named in it, and every link between
// its pages resolves.
#include <QAction>
#include <QMenuBar>
#include <QRegularExpression>
#include <filesystem>
#include <set>

#include "../shell/ShellTestSupport.h"

using namespace tal;
using namespace taltest;
namespace fs = std::filesystem;

namespace {

const fs::path DemoDir = fs::path(TAL_SOURCE_DIR) / "demo";

// The manual's pages: the two contents pages, the sample engine's reference and the chapters of manual/.
std::vector<fs::path> ManualPages() {
  std::vector<fs::path> pages{DemoDir / "TALSHELL.html", DemoDir / "TALKIT.html", DemoDir / "Types.html",
                              DemoDir / "Typeindx.html", DemoDir / "Error.html"};
  for (const auto& entry : fs::directory_iterator(DemoDir / "manual"))
    if (entry.path().extension() == ".html") pages.push_back(entry.path());
  return pages;
}

// Captions of the menu bar, its menus and their items, without "&" and separators. The Output
// submenu's placeholder names a file, not a command.
void CollectCaptions(const QList<QAction*>& actions, std::set<QString>& captions) {
  for (const QAction* action : actions) {
    if (action->isSeparator()) continue;
    QString caption = action->text().remove('&');
    if (caption.isEmpty() || caption == "Name.out") continue;
    captions.insert(caption);
    if (action->menu()) CollectCaptions(action->menu()->actions(), captions);
  }
}

class Manual : public ShellTest {
 protected:
  std::set<QString> menuCaptions(bool talkit) {
    makeFrame(talkit);
    std::set<QString> captions;
    CollectCaptions(frame->menuBar()->actions(), captions);
    frame.reset();
    return captions;
  }
};

TEST_F(Manual, NamesEveryMenuCommandOfBothModesInBold) {
  QString manual;
  for (const fs::path& page : ManualPages()) manual += QString::fromStdString(ReadFile(page.string()));
  ASSERT_FALSE(manual.isEmpty());
  for (bool talkit : {false, true}) {
    std::set<QString> captions = menuCaptions(talkit);
    ASSERT_GT(captions.size(), talkit ? 25u : 50u);
    for (const QString& caption : captions)
      EXPECT_TRUE(manual.contains("<b>" + caption.toHtmlEscaped() + "</b>"))
          << "the manual (demo/TALSHELL.html, demo/manual/*.html) does not name the "
          << (talkit ? "TALKIT" : "TALSHELL") << " menu command \"" << caption.toStdString()
          << "\": describe it, written as <b>" << caption.toHtmlEscaped().toStdString() << "</b>";
  }
}

TEST_F(Manual, EveryLinkBetweenPagesResolves) {
  const QRegularExpression href("href=\"([^\"]*)\"");
  int links = 0;
  for (const fs::path& page : ManualPages()) {
    QString html = QString::fromStdString(ReadFile(page.string()));
    EXPECT_TRUE(html.contains("<title>")) << page;
    for (auto it = href.globalMatch(html); it.hasNext();) {
      QString link = it.next().captured(1);
      if (link.startsWith("http:") || link.startsWith("https:") || link.startsWith("mailto:")) continue;
      ++links;
      QString file = link.section('#', 0, 0);
      QString fragment = link.section('#', 1);
      fs::path target = file.isEmpty() ? page : (page.parent_path() / file.toStdString()).lexically_normal();
      ASSERT_TRUE(fs::is_regular_file(target)) << page << " links to the missing page " << link.toStdString();
      if (fragment.isEmpty()) continue;
      QString targetHtml = QString::fromStdString(ReadFile(target.string()));
      EXPECT_TRUE(targetHtml.contains("id=\"" + fragment + "\"") || targetHtml.contains("name=\"" + fragment + "\""))
          << page << " links to " << link.toStdString() << ", a place that page does not have";
    }
  }
  EXPECT_GT(links, 40);
}

}  // namespace

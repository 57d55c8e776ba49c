// New child windows lie wholly inside the frame's workspace, whatever their kind and size.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "ShellTestSupport.h"
#include "shell/ChildPlacement.h"

using namespace tal;

class ChildPlacement : public taltest::ShellTest {};

TEST_F(ChildPlacement, EveryNewWindowLiesInsideTheWorkspace) {
  auto& f = makeFrame();
  f.resize(1280, 1000);
  f.show();
  QApplication::processEvents();
  const QRect workspace(QPoint(0, 0), f.mdiArea()->viewport()->size());
  ASSERT_GT(workspace.width(), 1000);
  const KindCode kinds[] = {KindCode::DeckEditor, KindCode::Listing, KindCode::Output,  KindCode::Output,
                            KindCode::Diagram,    KindCode::Table,   KindCode::TextEditor, KindCode::Listing};
  int n = 0;
  for (KindCode kind : kinds) {
    auto* child = new taltest::TestChild(&f, kind, "/w/file" + std::to_string(++n));
    if (n == 5) child->resize(3000, 2500);  // larger than the workspace: shrunk to fit
    f.AddChild(child);
    QApplication::processEvents();
    QRect frame = child->subWindow()->geometry();
    EXPECT_TRUE(workspace.contains(frame)) << "window " << n << " at " << frame.x() << "," << frame.y() << " "
                                           << frame.width() << "x" << frame.height();
  }
  f.hide();
}

// The placement a window has is kept when it fits; otherwise cascade from the top left, the
// cascade starting again when it runs out of room, the window shrunk when it is too large.
TEST(ChildPlacementRule, KeepsCascadesAndShrinks) {
  const QSize workspace(1000, 800);
  struct Case {
    QRect proposed;
    int index;
    QRect expected;
  } cases[] = {
      {{100, 50, 600, 400}, 3, {100, 50, 600, 400}},   // fits: kept
      {{855, 40, 600, 400}, 0, {0, 0, 600, 400}},      // off the right edge: cascaded
      {{855, 40, 600, 400}, 2, {50, 50, 600, 400}},
      {{10, 700, 600, 400}, 16, {400, 400, 600, 400}}, // 400 / 25 + 1 = 17 steps: 16 is the last
      {{10, 700, 600, 400}, 17, {0, 0, 600, 400}},     // the cascade starts again
      {{300, 200, 1500, 900}, 4, {0, 0, 1000, 800}},   // too large: shrunk
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceInsideWorkspace(c.proposed, workspace, c.index, 25), c.expected)
        << c.proposed.x() << "," << c.proposed.y() << " #" << c.index;
}

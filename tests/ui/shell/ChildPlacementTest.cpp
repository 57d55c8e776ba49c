// New child windows lie wholly inside the frame's workspace, whatever their kind and size.
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "ShellTestSupport.h"

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

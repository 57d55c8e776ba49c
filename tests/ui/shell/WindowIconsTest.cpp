// The frame shows the program's icon, TALSHELL's or TALKIT's, and every kind of child window an
// icon of its own, kept when an editor becomes a form deck shown as text.
#include <QImage>
#include <QMdiSubWindow>

#include "ShellTestSupport.h"
#include "shell/EditForm.h"
#include "shell/WindowIcons.h"

using namespace tal;

namespace {
QImage Pixels(const QIcon& icon) { return icon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32); }
}  // namespace

class WindowIcons : public taltest::ShellTest {};

TEST_F(WindowIcons, EveryKindOfChildShowsAnIconOfItsOwn) {
  const KindCode kinds[] = {KindCode::DeckEditor, KindCode::TalkitForm, KindCode::TalkitText,
                            KindCode::Listing,    KindCode::Plot,       KindCode::Table,
                            KindCode::Output,     KindCode::TextEditor, KindCode::Diagram};
  makeFrame();
  std::vector<QImage> shown;
  for (KindCode kind : kinds) {
    QImage pixels = Pixels(addChild(kind)->subWindow()->windowIcon());
    ASSERT_FALSE(pixels.isNull()) << static_cast<int>(kind);
    for (std::size_t i = 0; i < shown.size(); ++i)
      EXPECT_NE(pixels, shown[i]) << static_cast<int>(kind) << " looks like " << static_cast<int>(kinds[i]);
    shown.push_back(pixels);
  }
}

TEST_F(WindowIcons, TheFrameShowsTheIconOfItsMode) {
  const QImage talshell = Pixels(makeFrame(false).windowIcon());
  const QImage talkit = Pixels(makeFrame(true).windowIcon());
  EXPECT_EQ(talshell, Pixels(ProgramIcon(false)));
  EXPECT_EQ(talkit, Pixels(ProgramIcon(true)));
  EXPECT_NE(talshell, talkit);
  // Drawn from the SVG: not a blank picture.
  EXPECT_NE(talshell.pixel(16, 16), 0u);
}

TEST_F(WindowIcons, AnEditorShowingAFormDeckAsTextTakesItsIcon) {
  makeFrame();
  auto* editor = new TEditForm(frame.get(), KindCode::DeckEditor);
  frame->AddChild(editor);
  editor->setKind(KindCode::TalkitText);
  EXPECT_EQ(Pixels(editor->subWindow()->windowIcon()), Pixels(ChildWindowIcon(KindCode::TalkitText)));
}

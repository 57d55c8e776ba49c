// A deck editor holding one line of more than a megabyte (a generated table pasted on one line):
// opening it, End on that line, and a character typed at its end, each with the repaint that
// follows. Goal: End and typing under 100 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTextBlock>
#include <string>

#include "shell/EditForm.h"

using namespace tal;

namespace {

void EnsureApp() {
  if (QApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "talbench";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

std::string DeckWithLongLine() {
  std::string deck = "* a deck with one very long line\nUNIT 1 TYPE 14\nPARAMETERS 2\n";
  std::string line = "DATA";
  for (int i = 0; line.size() < 1200 * 1024; ++i) line += " " + std::to_string(i * 0.125);
  return deck + line + "\nEND";
}

void SendKey(QWidget* target, int key, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(target, &press);
  QApplication::processEvents();
  target->repaint();
}

void BM_LongLineOpen(benchmark::State& state) {
  EnsureApp();
  const std::string deck = DeckWithLongLine();
  for (auto _ : state) {
    TEditForm editor(nullptr, KindCode::DeckEditor);
    editor.resize(900, 700);
    editor.show();
    editor.setText(deck);
    QApplication::processEvents();
    editor.editor()->viewport()->repaint();
  }
  state.counters["bytes"] = static_cast<double>(deck.size());
}
BENCHMARK(BM_LongLineOpen)->Unit(benchmark::kMillisecond)->Iterations(3);

// End on the long line, then Home again: the cursor crosses the whole line each time.
void BM_LongLineEndKey(benchmark::State& state) {
  EnsureApp();
  TEditForm editor(nullptr, KindCode::DeckEditor);
  editor.resize(900, 700);
  editor.show();
  editor.setText(DeckWithLongLine());
  editor.editor()->setTextCursor(QTextCursor(editor.editor()->document()->findBlockByNumber(3)));
  editor.editor()->setFocus();
  QApplication::processEvents();
  bool atEnd = false;
  for (auto _ : state) {
    SendKey(editor.editor(), atEnd ? Qt::Key_Home : Qt::Key_End);
    atEnd = !atEnd;
  }
}
BENCHMARK(BM_LongLineEndKey)->Unit(benchmark::kMillisecond)->Iterations(10);

// A character typed at the end of the long line, with the highlighting and repaint.
void BM_LongLineTyping(benchmark::State& state) {
  EnsureApp();
  TEditForm editor(nullptr, KindCode::DeckEditor);
  editor.resize(900, 700);
  editor.show();
  editor.setText(DeckWithLongLine());
  QTextCursor end(editor.editor()->document()->findBlockByNumber(3));
  end.movePosition(QTextCursor::EndOfBlock);
  editor.editor()->setTextCursor(end);
  editor.editor()->setFocus();
  QApplication::processEvents();
  for (auto _ : state) SendKey(editor.editor(), Qt::Key_X, "x");
}
BENCHMARK(BM_LongLineTyping)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

// The form window on a generated form of 5,000 fields: opening it (reading, laying out, making
// every control, showing and painting it) and switching a group at its top, which moves
// everything below. Runs on the offscreen platform unless another is set.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>

#include "TestSupport.h"
#include "forms/TalkitForm.h"
#include "support/ScriptedInteraction.h"

namespace {

constexpr int FieldCount = 5000;
constexpr int FieldsPerGroup = 50;

QApplication& Application() {
  static int argc = 1;
  static char name[] = "talbench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Never destroyed: windows that live for the whole run (the progress window) would otherwise be
  // torn down after the thread data Qt needs for it is gone.
  static QApplication* application = new QApplication(argc, argv);
  return *application;
}

// A check box at the top switches the first group; the fields follow in groups of 50, each
// switched by a check box of the last group, with text lines between them.
std::string GeneratedDeck() {
  std::string deck = "*TALKIT\n*|<FONT1 ARIAL 12\n*|<TAB2 6 CM\n*|*Generated form\n";
  deck += "*|{TOPSWITCH|Top\n*|Show the first group|G0\n*|}\n";
  int group = 0;
  for (int field = 0; field < FieldCount; ++field) {
    if (field % FieldsPerGroup == 0) {
      if (field > 0) deck += "*|]\n";
      deck += "*|[G" + std::to_string(group) + "|Group " + std::to_string(group) + "\n";
      ++group;
    }
    std::string n = std::to_string(field);
    switch (field % 10) {
      case 7:
        deck += "KIND" + n + "=" + std::to_string(field % 20 + 1) + "\n*|<Kind " + n + "|KINDS.DAT|2|1|5\n";
        break;
      case 8: deck += "ASSIGN WEATHER.DAT " + std::to_string(field % 90 + 10) + "\n*|?Weather " + n + "|4\n"; break;
      default:
        deck += "X" + n + "=" + std::to_string(field % 97) + ".25\n*|Value " + n + "|m2|ft2|0|10.7639|0|1000.00|3\n";
        break;
    }
    if (field % 25 == 0) deck += "*|*Section " + n + "|note\n";
  }
  deck += "*|]\n*|{SWITCHES|Switches\n";
  for (int g = 1; g < group; ++g) deck += "*|Use group " + std::to_string(g) + "|G" + std::to_string(g) + "\n";
  deck += "*|}\n";
  return deck;
}

struct Workspace {
  taltest::TempDir dir;
  std::string deck;
  Workspace() {
    std::string kinds = "20\n";
    for (int k = 1; k <= 20; ++k) kinds += std::to_string(k) + ",Kind " + std::to_string(k) + "," + std::to_string(k) + ".5\n";
    dir.write("KINDS.DAT", kinds);
    dir.write("WEATHER.DAT", "data\n");
    deck = dir.write("BIG.TKD", GeneratedDeck());
  }
};

Workspace& Shared() {
  static Workspace workspace;
  return workspace;
}

std::unique_ptr<tal::TTALKITForm> OpenShown() {
  auto form = std::make_unique<tal::TTALKITForm>(nullptr);
  if (!form->ReadDeck(Shared().deck)) return nullptr;
  form->resize(800, 600);
  form->show();
  QApplication::processEvents();  // the first paint
  return form;
}

void BM_OpenFormWindow(benchmark::State& state) {
  Application();
  tal::ScriptedInteraction ui;
  for (auto _ : state) {
    auto form = OpenShown();
    if (!form) {
      state.SkipWithError("deck did not read");
      break;
    }
    state.PauseTiming();
    form.reset();  // closing is not part of opening
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["fields"] = FieldCount;
}
BENCHMARK(BM_OpenFormWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_SwitchGroupAtTheTop(benchmark::State& state) {
  Application();
  tal::ScriptedInteraction ui;
  auto form = OpenShown();
  if (!form) {
    state.SkipWithError("deck did not read");
    return;
  }
  QAbstractButton* box = form->choiceOf(0 + 1, 0);  // the check box group follows the heading
  if (!box) {
    state.SkipWithError("no check box at the top");
    return;
  }
  for (auto _ : state) {
    box->click();                   // the first group goes off or on: everything below moves
    QApplication::processEvents();  // and the window repaints
  }
  state.counters["fields"] = FieldCount;
}
BENCHMARK(BM_SwitchGroupAtTheTop)->Unit(benchmark::kMillisecond);

}  // namespace

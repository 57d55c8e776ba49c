// The form window on a generated form of 5,000 fields: opening it (reading, laying out, making
// every control, showing and painting it) and switching a group at its top, which moves
// everything below. Runs on the offscreen platform unless another is set.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <map>
#include <memory>

#include "BenchmarkApplication.h"
#include "FormBenchmarkDeck.h"
#include "forms/TalkitForm.h"
#include "support/ScriptedInteraction.h"

namespace {

using formbench::FieldCount;

using bench::Application;

// The generated form of `fields` fields, written once.
formbench::Workspace& Shared(int fields = FieldCount) {
  static std::map<int, std::unique_ptr<formbench::Workspace>> workspaces;
  auto& workspace = workspaces[fields];
  if (!workspace) workspace = std::make_unique<formbench::Workspace>(true, fields);
  return *workspace;
}

std::unique_ptr<tal::TTALKITForm> OpenShown(int fields = FieldCount) {
  auto form = std::make_unique<tal::TTALKITForm>(nullptr);
  if (!form->ReadDeck(Shared(fields).deck)) return nullptr;
  form->resize(800, 600);
  form->show();
  QApplication::processEvents();  // the first paint
  return form;
}

void BM_OpenFormWindow(benchmark::State& state) {
  Application();
  tal::ScriptedInteraction ui;
  const int fields = static_cast<int>(state.range(0));
  Shared(fields);  // the deck is written before the clock runs
  for (auto _ : state) {
    auto form = OpenShown(fields);
    if (!form) {
      state.SkipWithError("deck did not read");
      break;
    }
    state.PauseTiming();
    form.reset();  // closing is not part of opening
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["fields"] = fields;
}
BENCHMARK(BM_OpenFormWindow)->Arg(FieldCount)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenFormWindow)->Arg(100)->Iterations(20)->Unit(benchmark::kMillisecond);

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

constexpr int RadioButtonCount = 5000;

void BM_OpenRadioGroupForm(benchmark::State& state) {
  Application();
  tal::ScriptedInteraction ui;
  taltest::TempDir dir;
  std::string deck = dir.write("RADIO.TKD", formbench::RadioDeck(RadioButtonCount));
  for (auto _ : state) {
    auto form = std::make_unique<tal::TTALKITForm>(nullptr);
    if (!form->ReadDeck(deck)) {
      state.SkipWithError("deck did not read");
      break;
    }
    form->resize(800, 600);
    form->show();
    QApplication::processEvents();
    state.PauseTiming();
    form.reset();
    QApplication::processEvents();
    state.ResumeTiming();
  }
  state.counters["buttons"] = RadioButtonCount;
}
BENCHMARK(BM_OpenRadioGroupForm)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ClickRadioButton(benchmark::State& state) {
  Application();
  tal::ScriptedInteraction ui;
  taltest::TempDir dir;
  auto form = std::make_unique<tal::TTALKITForm>(nullptr);
  if (!form->ReadDeck(dir.write("RADIO.TKD", formbench::RadioDeck(RadioButtonCount)))) {
    state.SkipWithError("deck did not read");
    return;
  }
  form->resize(800, 600);
  form->show();
  QApplication::processEvents();
  std::size_t radio = form->model().items.size() - 1;  // the radio group comes last
  int b = 0;
  for (auto _ : state) {
    QAbstractButton* button = form->choiceOf(radio, static_cast<std::size_t>(b++ % 2));
    if (!button) {
      state.SkipWithError("no radio button");
      break;
    }
    button->click();
    QApplication::processEvents();
  }
  state.counters["buttons"] = RadioButtonCount;
}
BENCHMARK(BM_ClickRadioButton)->Unit(benchmark::kMillisecond);

}  // namespace

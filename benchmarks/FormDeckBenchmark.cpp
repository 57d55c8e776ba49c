// Reading a large form deck into the form model and writing it back. The deck is generated: 5,000
// fields (numeric fields with units and limits, list fields on one data file, file fields and
// hidden list twins) in groups switched by check boxes, with text lines between them.
#include <benchmark/benchmark.h>

#include "FormBenchmarkDeck.h"
#include "forms/DeckReader.h"
#include "forms/DeckWriter.h"
#include "support/ScriptedInteraction.h"

namespace {

using formbench::FieldCount;

formbench::Workspace& Shared() {
  static formbench::Workspace workspace(false);
  return workspace;
}

void BM_ReadFormDeck(benchmark::State& state) {
  tal::ScriptedInteraction ui;
  for (auto _ : state) {
    tal::ReadResult result = tal::ReadDeck(Shared().deck);
    if (result.outcome != tal::ReadOutcome::Complete) state.SkipWithError("deck did not read");
    benchmark::DoNotOptimize(result.form.items.data());
  }
  state.counters["fields"] = FieldCount;
}
BENCHMARK(BM_ReadFormDeck)->Unit(benchmark::kMillisecond);

void BM_WriteFormDeck(benchmark::State& state) {
  tal::ScriptedInteraction ui;
  tal::ReadResult result = tal::ReadDeck(Shared().deck);
  if (result.outcome != tal::ReadOutcome::Complete) state.SkipWithError("deck did not read");
  // Half the groups off, so the writer marks their lines too.
  for (std::size_t i = 0; i < result.form.items.size(); ++i)
    if (result.form.items[i].kind == tal::FormItemKind::Group && i % 2 == 0)
      result.form.SwitchGroup(result.form.items[i].group.name, false);
  std::string target = Shared().dir.file("OUT.TKD");
  for (auto _ : state) {
    result.form.fileName = Shared().deck;
    if (!tal::WriteDeck(result.form, target)) state.SkipWithError("deck not written");
  }
  state.counters["fields"] = FieldCount;
}
BENCHMARK(BM_WriteFormDeck)->Unit(benchmark::kMillisecond);

}  // namespace

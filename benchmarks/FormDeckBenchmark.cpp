// Reading a large form deck into the form model and writing it back. The deck is generated: 5,000
// fields (numeric fields with units and limits, list fields on one data file, file fields and
// hidden list twins) in groups switched by check boxes, with text lines between them.
#include <benchmark/benchmark.h>

#include "TestSupport.h"
#include "forms/DeckReader.h"
#include "forms/DeckWriter.h"
#include "support/ScriptedInteraction.h"

namespace {

constexpr int FieldCount = 5000;
constexpr int FieldsPerGroup = 50;

std::string GeneratedDeck() {
  std::string deck = "*TALKIT\n*|<FONT1 ARIAL 12\n*|<TAB2 6 CM\n*|*Generated form\n";
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
      case 8:
        deck += "ASSIGN WEATHER.DAT " + std::to_string(field % 90 + 10) + "\n*|?Weather " + n + "|4\n";
        break;
      case 9:
        deck += "POW" + n + "=0.5\n*|<Power " + n + "|KINDS.DAT|0|3\n";
        break;
      default:
        deck += "X" + n + "=" + std::to_string(field % 97) + ".25\n*|Value " + n + "|m2|ft2|0|10.7639|0|1000.00|3\n";
        break;
    }
    if (field % 25 == 0) deck += "*|*Section " + n + "|note\n";
  }
  deck += "*|]\n*|{SWITCHES|Switches\n";
  for (int g = 0; g < group; ++g) deck += "*|Use group " + std::to_string(g) + "|G" + std::to_string(g) + "\n";
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

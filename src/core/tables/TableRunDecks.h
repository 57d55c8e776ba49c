#pragma once
// The run decks of a table: one copy of the table's deck per run, upper-cased, with each table
// variable's assignment line carrying that run's value and the output files the deck assigns
// under its own name carrying the run number. Writing and naming them is separate from running
// them, so any way of running (one engine after another, several at once, a batch system) starts
// from the same files.
#include <string>
#include <vector>

#include "tables/TableModel.h"

namespace tal {

// "" for run 1, else the decimal text of run - 1 (runs 1, 2, 3, 11: "", "1", "2", "10").
std::string RunSuffix(int run);
// The deck's file name up to its first ".", upper-cased, without its folder.
std::string BareDeckName(const std::string& deckName);
// The run deck of `run`: beside the deck, the bare deck name, the run suffix and ".TMP"
// (/sim/solar.dck: /sim/SOLAR.TMP, /sim/SOLAR1.TMP, ...).
std::string RunDeckName(const std::string& deckName, int run);

// "Parameter in the col #K, run #R isn't defined"
std::string UndefinedCellMessage(int column, int run);

// The deck prepared once for writing every run's copy.
class RunDeckWriter {
 public:
  // `deckText` is the deck's bytes; `table` gives the variables.
  RunDeckWriter(const TableModel& table, const std::string& deckText);

  // The text of run `run` (1..runs); "" and `undefinedColumn` set when a cell of the run is
  // undefined (above 1e20: "Enter value", a blank cell).
  std::string RunText(int run, int& undefinedColumn) const;

  // Output files the deck assigns (".O*", ".LST", ".PLT") whose names do not carry the deck's
  // name: every run writes the same file, so runs must not overlap.
  const std::vector<std::string>& sharedOutputs() const { return sharedOutputs_; }

 private:
  struct Line {
    std::string text;            // upper-cased
    bool assign = false;         // an ASSIGN line: processed whole for each run
    int column = -1;             // the column whose value the line takes, -1 for none
  };
  std::string Substituted(const std::string& upper, const std::vector<std::string>& values, int& column) const;

  const TableModel& table_;
  std::string bare_;
  std::string lineEnd_;
  std::vector<std::string> names_;  // each column's name: cut to 20 characters and trimmed
  std::vector<Line> lines_;
  std::vector<std::string> sharedOutputs_;
};

// Writes the run decks of every run before any is run, and keeps their names in the table.
// Stops at the first undefined cell ("Parameter in the col #K, run #R isn't defined"), a deck that
// cannot be read or a run deck that cannot be written ("Error writing table file " + name); the
// message has been shown then and true is returned (nothing is to be run). Run decks written
// before the stop stay on disk. `sharedOutputs`, when given, receives the deck's shared outputs.
bool WriteTableDeck(TableModel& table, std::vector<std::string>* sharedOutputs = nullptr);

// Deletes the run decks named in the table (runs 1..runs).
void DeleteRunDecks(const TableModel& table);

}  // namespace tal

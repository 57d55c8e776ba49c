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

// The text of `value` in a run deck: the number in the column's format (the automatic kind gives
// the exponential form) when that takes at most 20 characters, else the same number in
// exponential notation with as many decimals as fit in 20.
std::string RunValueText(const ColumnFormat& format, Real value);

// "Parameter in the col #K, run #R isn't defined"
std::string UndefinedCellMessage(int column, int run);

// Why the run decks of `table` may not be written: one would be the deck itself (a deck named
// NAME.TMP), or would replace an existing file that is not a run deck of an earlier run of this
// table (the table's run deck names). "" when every run deck may be written.
std::string RunDeckClash(const TableModel& table);

// The warning before a table run whose variables `names` the deck never assigns.
std::string UnassignedVariablesWarning(const std::string& deckName, const std::vector<std::string>& names);

// The deck prepared once for writing every run's copy.
class RunDeckWriter {
 public:
  // `deckText` is the deck's bytes; `table` gives the variables.
  RunDeckWriter(const TableModel& table, const std::string& deckText);

  // The text of run `run` (1..runs); "" and `undefinedColumn` set when a cell of the run is
  // undefined (above 1e20: "Enter value", a blank cell).
  std::string RunText(int run, int& undefinedColumn) const;
  // The first column (1-based) whose cell of run `run` is undefined; 0 when none is.
  int UndefinedColumn(int run) const;

  // Output files the deck assigns (".O*", ".LST", ".PLT") whose names do not carry the deck's
  // name: every run writes the same file, so runs must not overlap.
  const std::vector<std::string>& sharedOutputs() const { return sharedOutputs_; }

  // The names of the columns that no line of the deck assigns (no "NAME = value" line): every
  // run would leave them at the deck's own value.
  std::vector<std::string> unassignedColumns() const;

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
  std::vector<bool> assigned_;  // per column: a line of the deck takes its value
  std::vector<std::string> sharedOutputs_;
};

// Writes the run decks of every run before any is run, and keeps their names in the table.
// Nothing is written when a cell is undefined ("Parameter in the col #K, run #R isn't defined"),
// the deck cannot be read, a run deck would clash with another file (RunDeckClash) or the user
// cancels the warning about variables the deck never assigns; a run deck that cannot be written
// ("Error writing table file " + name) stops the writing and the run decks written are deleted.
// The message has been shown then and true is returned (nothing is to be run). `sharedOutputs`,
// when given, receives the deck's shared outputs.
bool WriteTableDeck(TableModel& table, std::vector<std::string>* sharedOutputs = nullptr);

// Deletes the run decks named in the table (runs 1..runs).
void DeleteRunDecks(const TableModel& table);

}  // namespace tal

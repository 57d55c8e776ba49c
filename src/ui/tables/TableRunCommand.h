#pragma once
// What Run Table and Run Table on Cluster share before the engines start.
#include <optional>
#include <string>
#include <vector>

namespace tal {

class TTALSHELLFORM;
class TTableForm;

struct PreparedTableRun {
  std::string deck;
  std::string engine;
  std::vector<std::string> runDecks;  // run r is runDecks[r - 1], all written
  std::string sequentialReason;       // why the runs must go one at a time ("" when they need not)
  std::string beforeCommand;          // the form deck's commands around every run ("" for none)
  std::string afterCommand;
};

// The deck's own window checked and saved as the user answers, every run deck written, the engine
// found. nullopt when the user cancelled or a message said why nothing runs.
std::optional<PreparedTableRun> PrepareTableRun(TTALSHELLFORM& shell, TTableForm& table);

// Deletes the run decks of a table run (the table window may have closed meanwhile).
void DeleteRunDecksOf(const std::string& deck, int runs);

}  // namespace tal

// Table Results (Parametrics menu): which results to collect, asked with the choice kept beside the
// table (NAME.TRS) as the proposal, then the results grid of the table's runs.
#include <algorithm>

#include "shell/TalshellForm.h"
#include "support/Interaction.h"
#include "support/Messages.h"
#include "support/Text.h"
#include "tables/TableForm.h"
#include "tables/TableResultsForm.h"

namespace tal {

namespace {

// The question's text: the form of an answer, the columns of the first run's files, the statistics.
std::string ChoicePrompt(const std::vector<ResultColumn>& columns) {
  std::string prompt = "Results to collect, as COLUMN:STATISTIC separated by commas.\nColumns:";
  for (const ResultColumn& column : columns)
    prompt += " " + column.name + (column.unit.empty() ? "" : " (" + column.unit + ")") + ",";
  prompt.back() = '\n';
  return prompt + "Statistics: " + StatisticNames() + " (integral: over TIME, in the unit times hours)";
}

// A choice whose column the first run's files do not offer: the message; "" when all are offered.
std::string UnofferedColumn(const std::vector<ResultChoice>& choices, const std::vector<ResultColumn>& columns) {
  for (const ResultChoice& choice : choices) {
    const bool offered = std::any_of(columns.begin(), columns.end(),
                                     [&](const ResultColumn& c) { return EqualNoCase(c.name, choice.column); });
    if (!offered) return "The runs' files have no column " + choice.column + ".";
  }
  return "";
}

// Asks until the answer is a valid choice; nullopt when the user cancels.
std::optional<std::vector<ResultChoice>> AskChoices(const std::vector<ResultColumn>& columns, std::string proposal) {
  for (;;) {
    auto answer = interaction().inputText("Table Results", ChoicePrompt(columns), proposal);
    if (!answer) return std::nullopt;
    std::string error;
    auto choices = ParseResultChoiceList(*answer, error);
    if (choices) error = UnofferedColumn(*choices, columns);
    if (error.empty()) return choices;
    ShowMessageKind(error, ErrorOk, true);
    proposal = *answer;
  }
}

// The choice kept beside the table as the question's proposal; a damaged file is said and ignored.
std::string StoredProposal(const std::string& choiceFile, const std::vector<ResultColumn>& columns) {
  ResultChoiceFile stored = ReadResultChoiceFile(choiceFile);
  if (stored.ok && !stored.choices.empty()) return ResultChoiceListText(stored.choices);
  if (!stored.ok && !stored.missing) ShowMessageKind(stored.message, ErrorOk, true);
  // The first column that is not TIME, last value.
  for (const ResultColumn& column : columns)
    if (!EqualNoCase(column.name, "TIME")) return column.name + ":last";
  return "";
}

}  // namespace

void TTALSHELLFORM::TableResults1Click() {
  CommandScope command(*this);
  auto* window = qobject_cast<TTableForm*>(tableWindow());
  if (!window) return;
  const TableModel& table = window->table();
  const std::vector<ResultColumn> columns = OfferedResultColumns(table);
  if (columns.empty()) {
    ShowMessageKind("No run of the table has left a plot or output file yet: run the table first.", InformationOk, true);
    return;
  }
  const std::string choiceFile = ResultChoiceFileName(table.tableFileName);
  auto choices = AskChoices(columns, StoredProposal(choiceFile, columns));
  if (!choices) return;
  ResultChoiceFile stored = ReadResultChoiceFile(choiceFile);
  if (!stored.ok || stored.choices != *choices) {
    // The grid still shows when the choice cannot be kept: the message names the file.
    if (std::string error = WriteResultChoiceFile(choiceFile, *choices); !error.empty()) ShowMessageKind(error, ErrorOk, true);
  }
  delete tableResults_.data();  // one results grid at a time, for the table's current choice
  auto* results = new TTableResultsForm(*this, table, *choices,
                                        lastTableRunDeck_ == table.deckFileName ? lastTableRunFailures_ : std::vector<FailedRun>{});
  results->setAttribute(Qt::WA_DeleteOnClose);
  tableResults_ = results;
  results->show();
  results->raise();
}

void TTALSHELLFORM::TableRunEnded(const std::string& deck, std::vector<FailedRun> failedRuns) {
  lastTableRunDeck_ = deck;
  lastTableRunFailures_ = std::move(failedRuns);
  auto* results = qobject_cast<TTableResultsForm*>(tableResults_.data());
  auto* window = qobject_cast<TTableForm*>(tableWindow());
  if (results && window && window->table().deckFileName == deck) results->Refresh(window->table(), lastTableRunFailures_);
}

}  // namespace tal

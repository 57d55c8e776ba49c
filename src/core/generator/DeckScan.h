#pragma once
// The first half of Make TALKIT file: a plain deck sorted into its units (with parameters,
// inputs, derivatives and trace line), its constants, ASSIGN lines, simulation card and every
// other line. `MakeDeck` reads the deck and completes each unit from its type description file
// (TypeDescription.h); the generator (TalkitGenerator.h) writes the form deck from the result.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tal {

// One entry of a type description file: a parameter or input as the form is to show it.
struct TypeEntry {
  std::string name;         // upper-cased, without blanks around it
  std::string description;  // at most 40 characters
  std::string tail;         // the annotation fields after the label: "|U1|U2|F3|F4|MIN|MAX|"
  bool selected = false;    // chosen in the dialog
  bool operator==(const TypeEntry&) const = default;
};

// A name/value entry of the deck's EQUATIONS and CONSTANTS blocks, or a constant the generator
// made of a parameter or input value.
struct DeckConstant {
  std::string name;       // upper-cased; a repeated name carries its repeat number ("X1")
  std::string value;      // the text after "="
  int repeatCounter = 0;  // how often the name was met again after this one
  // Generated constants only: the annotation of the form field.
  std::string description, tail;
};

struct DeckValue {
  std::string text;
  bool numeric = false;  // reads as a number
};

struct UnitRecord {
  std::string card;  // the UNIT line, upper-cased
  std::string cardAsWritten;  // the UNIT line in the deck's own letter case, blanks trimmed
  int typeNumber = 0;
  std::string description;  // TYPE line of the description file, or the NO DATA text
  bool noData = false;      // written back as read

  bool hasParameters = false;
  int parameterCount = 0;
  std::vector<DeckValue> parameters;
  std::vector<std::string> parameterLines;

  bool hasInputs = false;
  int inputCount = 0;
  std::vector<std::string> connections;  // "3,1"; a generated constant's name once chosen
  std::vector<bool> settable;            // one per connection
  std::vector<std::string> initialValues;
  std::vector<std::string> connectionLines, initialValueLines;

  bool hasDerivatives = false;
  int derivativeCount = 0;
  std::vector<std::string> derivatives;

  std::string traceLine;  // "" when none

  std::vector<TypeEntry> parameterEntries, inputEntries;
  // Positions in the deck constants of the constants generated for the parameters and inputs.
  std::size_t parameterConstantsBegin = 0, parameterConstantsEnd = 0;
  std::size_t inputConstantsBegin = 0, inputConstantsEnd = 0;

  // The lists of the dialog pair entries and values by position; neither list is read past.
  std::size_t shownParameterCount() const;
  std::size_t shownInputCount() const;
  // Whether parameter or input `i` can become a constant: a numeric value, a settable input.
  bool parameterEligible(std::size_t i) const;
  bool inputEligible(std::size_t i) const;
};

struct ScannedDeck {
  std::string deckName;
  std::string descriptionDirectory;  // the engine's INFO folder
  std::vector<UnitRecord> units;
  std::vector<DeckConstant> constants;
  std::vector<std::string> assignLines;
  std::vector<std::string> otherLines;
  std::optional<std::string> simulationCard;
  std::string lineEnd = "\n";  // "\r\n" when the deck was written so
};

// Unit types whose units are copied through as plain lines instead of becoming form units.
bool IsCopiedThroughType(int typeNumber);

// `base`, or, when a constant of that name exists, the name with that constant's next repeat
// number appended (X, X1, X2, ...; a number already taken by another constant is passed over).
std::string UniqueConstantName(std::vector<DeckConstant>& constants, const std::string& base);

// Sorts the deck text `bytes`, reading the type description file of each unit from
// `descriptionDirectory` (messages about units and description files are shown).
ScannedDeck ScanDeck(std::string_view bytes, const std::string& descriptionDirectory);

// The folder of the type description files: the "INFO" folder of the engine directory, found
// without regard to case ("INFO" as written when there is none).
std::string DescriptionDirectoryOf(const std::string& engineDirectory);

// The lines of the dialog's unit list, one per unit: its description, and where two units would
// read the same, after it the unit's card as the deck writes it ("UNIT 3 TYPE 1 House"), which
// holds the unit number and the deck's own name for the unit.
std::vector<std::string> UnitListEntries(const std::vector<UnitRecord>& units);

// Make TALKIT file's scan of the deck file `deckName`. A deck that is not on disk (a new editor
// not saved yet) or cannot be read is reported and gives nullopt.
std::optional<ScannedDeck> MakeDeck(const std::string& deckName, const std::string& engineDirectory);

// "A.DCK" has not been saved yet ...: the report of a deck that is not on disk.
std::string DeckNotOnDiskMessage(const std::string& deckName);

// Asked when the deck's editor holds changes: the form is made from the file on disk.
std::string SaveBeforeMakingQuestion(const std::string& deckName);

}  // namespace tal

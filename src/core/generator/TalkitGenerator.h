#pragma once
// The second half of Make TALKIT file: the chosen parameters and inputs of a scanned deck become
// named constants with annotation lines, and the form deck is written: "*TALKIT", the ASSIGN
// lines, the header, the simulation card, the deck's other lines, the units and "END".
#include <string>
#include <vector>

#include "generator/DeckScan.h"

namespace tal {

struct GeneratorOptions {
  bool includeHeader = false;          // the engine's "Header.txt" as text lines
  bool includeSimulationCard = false;  // the simulation parameters as form fields
  std::string engineDirectory{};       // holds "Header.txt" and the "TALWIN" list data files
  std::string targetName{};            // the form deck written
};

// The annotation line of a field: "*|" + description padded with blanks to 43 characters + tail.
std::string AnnotationLineOf(const std::string& description, const std::string& tail);

// Gives each selected parameter with a numeric value and each selected settable input of the
// units with data a constant named after its entry (made unique with repeat numbers); the unit
// then refers to the constant by name. Records each unit's range of generated constants.
void GenerateConstants(ScannedDeck& deck);

// The list data file `fileName` of the engine's "TALWIN" folder as the form deck `targetName`
// names it: relative to the deck's folder when it lies inside it, else its full name. Found
// without regard to case; the name as given when it does not exist.
std::string SimulationListFile(const std::string& engineDirectory, const std::string& fileName,
                               const std::string& targetName);

// The 18 lines of the generated simulation card (list data files named as above).
std::vector<std::string> SimulationCardLines(const GeneratorOptions& options);

// The text of the form deck (after GenerateConstants), lines ended as the deck's were. A header
// file that cannot be read is reported and left out.
std::string TalkitDeckText(const ScannedDeck& deck, const GeneratorOptions& options);

// Generates the constants and writes the form deck to options.targetName through a temporary
// file, so a failed write leaves an existing file whole. "" on success, else the message naming
// the file (not shown).
std::string WriteTalkitFile(ScannedDeck& deck, const GeneratorOptions& options);

// Asked after the form deck `name` was written: Yes opens it as a form.
std::string OpenGeneratedFormQuestion(const std::string& name);

// The name proposed for the form deck: the deck's file name up to its first "." + ".TKD", in the
// deck's folder.
std::string DefaultTalkitName(const std::string& deckName);

}  // namespace tal

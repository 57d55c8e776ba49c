#pragma once
// The generated form deck of the form benchmarks: 5,000 fields (numeric fields with units and
// limits, list fields on one data file, file fields and hidden list twins) in groups of 50,
// switched by the check boxes of a group at the end, with text lines between them.
#include <string>

#include "TestSupport.h"

namespace formbench {

constexpr int FieldCount = 5000;
constexpr int FieldsPerGroup = 50;

// `topSwitch`: a check box at the top of the form switches the first group (the others stay
// with the check boxes at the end). `fields`: how many fields the form has.
inline std::string GeneratedDeck(bool topSwitch, int fields = FieldCount) {
  std::string deck = "*TALKIT\n*|<FONT1 ARIAL 12\n*|<TAB2 6 CM\n*|*Generated form\n";
  if (topSwitch) deck += "*|{TOPSWITCH|Top\n*|Show the first group|G0\n*|}\n";
  int group = 0;
  for (int field = 0; field < fields; ++field) {
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
      case 9: deck += "POW" + n + "=0.5\n*|<Power " + n + "|KINDS.DAT|0|3\n"; break;
      default:
        deck += "X" + n + "=" + std::to_string(field % 97) + ".25\n*|Value " + n + "|m2|ft2|0|10.7639|0|1000.00|3\n";
        break;
    }
    if (field % 25 == 0) deck += "*|*Section " + n + "|note\n";
  }
  deck += "*|]\n*|{SWITCHES|Switches\n";
  for (int g = topSwitch ? 1 : 0; g < group; ++g)
    deck += "*|Use group " + std::to_string(g) + "|G" + std::to_string(g) + "\n";
  deck += "*|}\n";
  return deck;
}

// A form of one radio group of `buttons` radio buttons, each switching one of 50 groups of one
// field: reading it chooses every button in turn, and a click switches every button's group.
inline std::string RadioDeck(int buttons) {
  std::string deck = "*TALKIT\n";
  for (int g = 0; g < 50; ++g) {
    std::string n = std::to_string(g);
    deck += "*|[G" + n + "|Group " + n + "\nX" + n + "=1.5\n*|Value " + n + "|m|ft|0|3.28084|0|100|2\n*|]\n";
  }
  deck += "*|(CHOICE|Choice\n";
  for (int b = 0; b < buttons; ++b) deck += "*|Button " + std::to_string(b) + "|G" + std::to_string(b % 50) + "\n";
  return deck + "*|)\n";
}

// The deck written as BIG.TKD (of `fields` fields) in a temporary folder with its list data and weather files.
struct Workspace {
  taltest::TempDir dir;
  std::string deck;
  explicit Workspace(bool topSwitch, int fields = FieldCount) {
    std::string kinds = "20\n";
    for (int k = 1; k <= 20; ++k) kinds += std::to_string(k) + ",Kind " + std::to_string(k) + "," + std::to_string(k) + ".5\n";
    dir.write("KINDS.DAT", kinds);
    dir.write("WEATHER.DAT", "data\n");
    deck = dir.write("BIG.TKD", GeneratedDeck(topSwitch, fields));
  }
};

}  // namespace formbench

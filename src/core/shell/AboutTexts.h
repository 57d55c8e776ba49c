#pragma once
// The program's version and the texts of the about box in both modes.
#include <string>

namespace tal {

inline constexpr const char* ProgramVersion = "2.015";
inline constexpr const char* ProgramVersionDate = "06/09/99";

struct AboutTexts {
  std::string caption;   // "About TALSHELL" or "About TALKIT"
  std::string title;     // "TALSHELL" or "TALKIT"
  std::string subtitle;  // what the program is for, by mode
  std::string bits;      // "32-bit"
  std::string version;   // "Version 2.015    06/09/99"
};

AboutTexts AboutTextsFor(bool talkitMode);

}  // namespace tal

#include "shell/AboutTexts.h"

namespace tal {

AboutTexts AboutTextsFor(bool talkitMode) {
  AboutTexts texts;
  // The box names the program it tells about, as the menu item that shows it does.
  texts.caption = talkitMode ? "About TALKIT" : "About TALSHELL";
  texts.title = talkitMode ? "TALKIT" : "TALSHELL";
  texts.subtitle = talkitMode ? "An Editor Program for TALPIX" : "An Environment Program for TALPIX";
  texts.bits = "32-bit";
  texts.version = std::string("Version ") + ProgramVersion + "    " + ProgramVersionDate;
  return texts;
}

}  // namespace tal

#include "FormDecks.h"

#include "support/Files.h"

namespace formtest {

const std::vector<std::string>& ExampleLines() {
  static const std::vector<std::string> lines{
      "*TALKIT",
      "*|<FONT1 ARIAL 12",
      "*|<COLOR2 NAVY",
      "*|<TAB2 6 CM",
      "*|*Building data",
      "*|[HEATING|Heating system",
      "AREA=25",
      "*|Floor area|m2|ft2|0|10.7639|1|1000|3",
      "KIND=1",
      "*|<Heater type|HEATERS.DAT|2|1",
      "*|]",
      "*|{OPTIONS|Options",
      "*|Use heating|HEATING",
      "*|}",
      "ASSIGN WEATHER.DAT 10",
      "*|?Weather file|4",
  };
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines, const std::string& eol) {
  std::string text;
  for (const auto& line : lines) text += line + eol;
  return text;
}

void WriteCompanions(const taltest::TempDir& dir) {
  dir.write("HEATERS.DAT", "3\n1, Gas boiler\n2\tHeat pump\n3 , Wood stove\n");
  dir.write("WEATHER.DAT", "weather data\n");
}

std::string WriteExample(const taltest::TempDir& dir, const std::string& name) {
  WriteCompanions(dir);
  return dir.write(name, JoinLines(ExampleLines()));
}

std::vector<std::string> FileLines(const std::string& path) { return tal::SplitLines(taltest::ReadFile(path)); }

int FindItem(const tal::FormModel& form, tal::FormItemKind kind, const std::string& label) {
  for (std::size_t i = 0; i < form.items.size(); ++i)
    if (form.items[i].kind == kind && (label.empty() || form.items[i].label == label)) return static_cast<int>(i);
  return -1;
}

}  // namespace formtest

#include "runs/EngineConfig.h"

#include "support/Files.h"

namespace tal {

namespace {

bool SwitchIsOn(const std::string& line) { return !line.empty() && (line[0] == 'Y' || line[0] == 'y'); }

std::string ConfigPath(const std::string& programDir) {
  return FindFileNoCase(programDir, EngineConfigName).value_or(JoinPath(programDir, EngineConfigName));
}

EngineSwitches SwitchesOf(const std::string& bytes) {
  auto lines = SplitLines(bytes);
  EngineSwitches switches{};
  for (int i = 0; i < EngineSwitchCount; ++i) {
    std::size_t line = static_cast<std::size_t>(i) + 1;
    switches[static_cast<std::size_t>(i)] = line < lines.size() && SwitchIsOn(lines[line]);
  }
  return switches;
}

}  // namespace

const std::array<const char*, EngineSwitchCount>& EngineSwitchCaptions() {
  static const std::array<const char*, EngineSwitchCount> captions = {
      "Display Simulation Status",      "Write TALPIX Header",
      "Write Printer Labels",           "Write Output Units",
      "Check for Unlinked Subroutines", "Check Input-Output Connections",
      "Print Warning Messages",
  };
  return captions;
}

std::string MissingEngineConfigMessage() { return "Please put the CNFGTL.TAL file in the TALSHELL directory"; }

std::optional<EngineSwitches> ReadEngineSwitches(const std::string& programDir) {
  auto path = FindFileNoCase(programDir, EngineConfigName);
  if (!path || !FileReadable(*path)) return std::nullopt;
  auto bytes = ReadWholeFile(*path);
  if (!bytes) return std::nullopt;
  return SwitchesOf(*bytes);
}

std::string SwitchedEngineConfig(const std::string& oldBytes, const EngineSwitches& switches) {
  const std::string newline = oldBytes.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  auto lines = SplitLines(oldBytes);
  // The first line is the configuration's own: copied byte for byte with its line end.
  const std::size_t firstEnd = oldBytes.find('\n');
  std::string out = firstEnd == std::string::npos ? oldBytes + newline : oldBytes.substr(0, firstEnd + 1);
  for (int i = 0; i < EngineSwitchCount; ++i) {
    std::size_t index = static_cast<std::size_t>(i) + 1;
    std::string line = index < lines.size() ? lines[index] : std::string();
    char letter = switches[static_cast<std::size_t>(i)] ? 'Y' : 'N';
    if (line.empty())
      line = std::string(1, letter);
    else
      line[0] = letter;
    out += line + newline;
  }
  return out;
}

std::string RewriteEngineConfig(const std::string& programDir, const EngineSwitches& switches) {
  const std::string path = ConfigPath(programDir);
  auto old = ReadWholeFile(path);
  if (!old) return "Could not read " + path;
  // Switches as the file already holds them: the file, and the backup of an earlier change, stay
  // as they are.
  if (SwitchesOf(*old) == switches) return "";
  const std::string backup =
      FindFileNoCase(programDir, EngineConfigBackupName).value_or(JoinPath(programDir, EngineConfigBackupName));
  if (std::string error = WriteFileAtomically(backup, *old); !error.empty()) return error;
  return WriteFileAtomically(path, SwitchedEngineConfig(*old, switches));
}

}  // namespace tal

#pragma once
// "CNFGTL.TAL", the engine's own switches in the program directory: line 1 is the engine's and is
// copied unchanged; lines 2 to 8 are seven yes/no switches, on when their first character is "Y"
// in either case. The settings dialog shows the switches and rewrites the file.
#include <array>
#include <optional>
#include <string>

namespace tal {

inline constexpr const char* EngineConfigName = "CNFGTL.TAL";
inline constexpr const char* EngineConfigBackupName = "CNFGTL.BAK";
inline constexpr int EngineSwitchCount = 7;

using EngineSwitches = std::array<bool, EngineSwitchCount>;

// The check box captions of the switches, in line order (lines 2 to 8).
const std::array<const char*, EngineSwitchCount>& EngineSwitchCaptions();

// "Please put the CNFGTL.TAL file in the TALSHELL directory"
std::string MissingEngineConfigMessage();

// The switches of the program directory's configuration file (name matched without regard to
// case); lines missing at the end count as off. nullopt when the file cannot be read.
std::optional<EngineSwitches> ReadEngineSwitches(const std::string& programDir);

// The file's new bytes: line 1 copied, lines 2 to 8 with their first character replaced by "Y"
// or "N" (a missing or empty line becomes just that letter, so no switch is lost), the rest of
// each line kept; lines after line 8 are not kept. The old file's line ends are kept.
std::string SwitchedEngineConfig(const std::string& oldBytes, const EngineSwitches& switches);

// Rewrites the configuration file with `switches`; switches the file already holds write nothing
// (no "CNFGTL.BAK" either). Otherwise the old file becomes "CNFGTL.BAK" (replacing an old copy), then the new file replaces the old one through a temporary file, so a failure
// at any step leaves a whole "CNFGTL.TAL". Returns "" on success, else a message naming the file.
std::string RewriteEngineConfig(const std::string& programDir, const EngineSwitches& switches);

}  // namespace tal

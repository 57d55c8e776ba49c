#pragma once
// The settings record every window reads (units, generator defaults, command lines, engine and
// utility folders, application links) and its file "TALSHELL.DFT" in the program directory.
//
// File layout (little-endian, texts are a length byte and 255 character bytes):
//   0 units, 4 include header, 8 include simulation card (int32 each), 12 32-bit flag (byte),
//   13 seven zero bytes, 20 compile, 276 rebuild, 532 user command, 788 six reserved texts,
//   2324 TALPIX, 2580 VOXEN, 2836 LUMET, 3092 ORVA, 3348 KANTO, 3604 MIRELL folder,
//   3860 reserved text, 4116 link count n (int32), 4120 n link entries,
//   4120 + 256n ten reserved int32, 4160 + 256n ten reserved bytes, 4170 + 256n two padding bytes.
// A file ending at 4116 is complete without links. Written files hold 5 entries: 5452 bytes.
#include <array>
#include <cstdint>
#include <string>

namespace tal {

struct SettingsRecord {
  std::int32_t units = 1;  // 1 primary, 2 secondary units in TALKIT forms
  std::int32_t includeHeader = 0;
  std::int32_t includeSimulationCard = 0;
  std::uint8_t version32 = 0;
  std::string compileCommand, rebuildCommand, userCommand;
  std::string talpixDir, voxenDir, lumetDir, orvaDir, kantoDir, mirellDir;
  std::array<std::string, 5> linkEntries;  // application paths (4 used), without bitmap part
  std::array<std::string, 5> linkBitmaps;  // button bitmap paths split off the entries
  // Kept as read and written back unchanged. The reserved texts and the seven bytes after the
  // 32-bit flag are not kept: they are always written empty.
  std::array<std::int32_t, 10> reservedIntegers{};
  std::array<std::uint8_t, 10> reservedBytes{};

  bool operator==(const SettingsRecord&) const = default;
};

// The program-wide record, filled by ReadDFT at start-up.
SettingsRecord& CurrentSettings();

struct DftReadResult {
  bool ok = false;
  std::string message;  // the exact text to show when !ok
  std::string damagedFile{};  // the file found but refused as damaged ("" otherwise)
};

inline constexpr const char* SettingsFileName = "TALSHELL.DFT";
inline constexpr std::size_t SettingsFileSize = 5452;        // as written
inline constexpr std::size_t SettingsFileMinimumSize = 4116;  // without the link block

// Reads "TALSHELL.DFT" (name matched without regard to case) from `programDir` into `settings`.
// A missing or unreadable file gives MissingDftMessage; a damaged one (a length that is neither
// 4116 bytes nor that of its link entries, more than five link entries) a message naming the
// file and what is wrong with it, and `damagedFile`.
// `settings` is changed only when the read succeeds. A units value other than 1 reads as 2. A link entry holding the character with
// code 1 is split there: the rest becomes the row's bitmap, kept only when that file is readable.
DftReadResult ReadDFT(const std::string& programDir, SettingsRecord& settings);

// Writes `settings` to the settings file of `programDir` (the existing file whatever its case,
// else "TALSHELL.DFT") through a temporary file, so a failed write leaves the old file whole.
// Each link entry is written as its path, then code 1 and the bitmap path when a bitmap is set;
// texts are cut to 255 characters. Returns "" on success, else a message naming the file.
std::string WriteDFT(const std::string& programDir, const SettingsRecord& settings);

// A link entry as the settings file holds it: the path (without any old bitmap part), then the
// character with code 1 and the bitmap path when a bitmap is set. Both share one text of at most
// 255 characters; what does not fit is cut when the file is written.
std::string StoredLinkEntry(const std::string& entry, const std::string& bitmap);

// Start-up with a damaged settings file: the question whether to start with the default settings,
// and, on Yes, the damaged file kept beside as "TALSHELL.DFT.BAD". Returns "" when it was kept,
// else a message naming both files. The settings file is written again only when the user
// changes the settings.
std::string DamagedDftQuestion(const DftReadResult& read);
std::string KeepDamagedDft(const std::string& damagedFile);

// "Please copy the TALSHELL.DFT file into the " + programDir + " directory."
std::string MissingDftMessage(const std::string& programDir);

// The bytes WriteDFT writes for `settings` (5452 of them).
std::string EncodeSettings(const SettingsRecord& settings);

}  // namespace tal

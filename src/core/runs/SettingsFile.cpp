#include "runs/SettingsFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "support/Files.h"

namespace tal {

namespace {

constexpr std::size_t TextBlock = 256;
constexpr std::size_t MaxTextLength = TextBlock - 1;
constexpr std::int32_t LinkCount = 5;

constexpr std::size_t CompileOffset = 20;
constexpr std::size_t RebuildOffset = 276;
constexpr std::size_t UserOffset = 532;
constexpr std::size_t TalpixOffset = 2324;
constexpr std::size_t VoxenOffset = 2580;
constexpr std::size_t LumetOffset = 2836;
constexpr std::size_t OrvaOffset = 3092;
constexpr std::size_t KantoOffset = 3348;
constexpr std::size_t MirellOffset = 3604;
constexpr std::size_t LinkCountOffset = 4116;
constexpr std::size_t LinksOffset = 4120;
constexpr std::size_t ReservedIntegersSize = 40;
constexpr std::size_t ReservedBytesSize = 10;
constexpr std::size_t PaddingSize = 2;
constexpr char BitmapSeparator = '\x01';

// Little-endian helpers over a byte string whose bounds the caller has checked.
std::int32_t GetInt32(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return static_cast<std::int32_t>(v);
}

void PutInt32(std::string& bytes, std::size_t at, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A length byte can say at most 255, so the text never leaves its 256-byte block.
std::string GetText(const std::string& bytes, std::size_t at) {
  std::size_t length = static_cast<unsigned char>(bytes[at]);
  return bytes.substr(at + 1, length);
}

void PutText(std::string& bytes, std::size_t at, const std::string& text) {
  std::size_t length = std::min(text.size(), MaxTextLength);
  bytes[at] = static_cast<char>(length);
  std::memcpy(&bytes[at + 1], text.data(), length);
}

// Splits a stored entry at its first code-1 character; a bitmap that cannot be read is dropped.
void SplitLinkEntry(const std::string& stored, std::string& entry, std::string& bitmap) {
  std::size_t separator = stored.find(BitmapSeparator);
  entry = stored.substr(0, separator);
  bitmap.clear();
  if (separator == std::string::npos) return;
  std::string path = stored.substr(separator + 1);
  if (FileReadable(path)) bitmap = path;
}

std::string Damaged(const std::string& path, const std::string& reason) {
  return "The settings file " + path + " is damaged: " + reason + ".";
}

// The lengths a settings file can have: the first blocks alone, or with n link entries and the
// reserved blocks after them (the two padding bytes may be missing).
bool LengthFitsLinks(std::size_t size, std::size_t count) {
  std::size_t withLinks = LinksOffset + TextBlock * count + ReservedIntegersSize + ReservedBytesSize;
  return size == withLinks || size == withLinks + PaddingSize;
}

// Fills `s` from `bytes`; returns "" or the reason the file was refused.
std::string DecodeSettings(const std::string& bytes, const std::string& path, SettingsRecord& s) {
  const std::string size = std::to_string(bytes.size());
  if (bytes.size() < SettingsFileMinimumSize)
    return Damaged(path, "it is " + size + " bytes long, too short to hold the settings (at least " +
                             std::to_string(SettingsFileMinimumSize) + " bytes)");
  if (bytes.size() != SettingsFileMinimumSize) {
    if (bytes.size() < LinksOffset) return Damaged(path, "it is " + size + " bytes long, its count of application links is cut off");
    std::int32_t count = GetInt32(bytes, LinkCountOffset);
    if (count < 0 || count > LinkCount)
      return Damaged(path, "it says it holds " + std::to_string(count) +
                               " application links, a settings file holds at most 5");
    if (!LengthFitsLinks(bytes.size(), static_cast<std::size_t>(count)))
      return Damaged(path, "it is " + size + " bytes long, but with " + std::to_string(count) +
                               " application links a settings file is " +
                               std::to_string(LinksOffset + TextBlock * count + ReservedIntegersSize +
                                              ReservedBytesSize + PaddingSize) +
                               " bytes long");
  }
  // Anything but 1 means secondary units, as the menu and the settings dialog show it; holding
  // it as 2 keeps the forms, which convert between 1 and 2, in step with what those show.
  s.units = GetInt32(bytes, 0) == 1 ? 1 : 2;
  s.includeHeader = GetInt32(bytes, 4);
  s.includeSimulationCard = GetInt32(bytes, 8);
  s.version32 = static_cast<std::uint8_t>(bytes[12]);
  s.compileCommand = GetText(bytes, CompileOffset);
  s.rebuildCommand = GetText(bytes, RebuildOffset);
  s.userCommand = GetText(bytes, UserOffset);
  s.talpixDir = GetText(bytes, TalpixOffset);
  s.voxenDir = GetText(bytes, VoxenOffset);
  s.lumetDir = GetText(bytes, LumetOffset);
  s.orvaDir = GetText(bytes, OrvaOffset);
  s.kantoDir = GetText(bytes, KantoOffset);
  s.mirellDir = GetText(bytes, MirellOffset);
  s.linkEntries = {};
  s.linkBitmaps = {};
  s.reservedIntegers = {};
  s.reservedBytes = {};
  if (bytes.size() == SettingsFileMinimumSize) return {};

  std::int32_t count = GetInt32(bytes, LinkCountOffset);  // checked above
  std::size_t reservedAt = LinksOffset + TextBlock * static_cast<std::size_t>(count);
  for (std::int32_t i = 0; i < count; ++i)
    SplitLinkEntry(GetText(bytes, LinksOffset + TextBlock * i), s.linkEntries[i], s.linkBitmaps[i]);
  for (std::size_t i = 0; i < s.reservedIntegers.size(); ++i)
    s.reservedIntegers[i] = GetInt32(bytes, reservedAt + 4 * i);
  for (std::size_t i = 0; i < s.reservedBytes.size(); ++i)
    s.reservedBytes[i] = static_cast<std::uint8_t>(bytes[reservedAt + ReservedIntegersSize + i]);
  return {};
}

std::string SettingsPath(const std::string& programDir) {
  auto found = FindFileNoCase(programDir, SettingsFileName);
  return found ? *found : JoinPath(programDir, SettingsFileName);
}

}  // namespace

SettingsRecord& CurrentSettings() {
  static SettingsRecord settings;
  return settings;
}

std::string DamagedDftQuestion(const DftReadResult& read) {
  return read.message + "\n\nStart with the default settings?  The damaged file is kept as " +
         JoinPath(FolderOf(read.damagedFile), std::string(SettingsFileName) + ".BAD") +
         "; the settings are written again only when you change them.";
}

std::string KeepDamagedDft(const std::string& damagedFile) {
  std::string kept = JoinPath(FolderOf(damagedFile), std::string(SettingsFileName) + ".BAD");
  if (std::rename(damagedFile.c_str(), kept.c_str()) != 0)
    return ReportError(errno) + ".  Could not rename " + damagedFile + " to " + kept;
  return {};
}

std::string MissingDftMessage(const std::string& programDir) {
  return "Please copy the TALSHELL.DFT file into the " + programDir + " directory.";
}

DftReadResult ReadDFT(const std::string& programDir, SettingsRecord& settings) {
  auto found = FindFileNoCase(programDir, SettingsFileName);
  std::optional<std::string> bytes;
  if (found) bytes = ReadWholeFile(*found);
  if (!bytes) return {false, MissingDftMessage(programDir)};
  SettingsRecord read = settings;
  std::string problem = DecodeSettings(*bytes, *found, read);
  if (!problem.empty()) return {false, problem, *found};
  settings = read;
  return {true, {}};
}

std::string EncodeSettings(const SettingsRecord& s) {
  std::string bytes(SettingsFileSize, '\0');
  PutInt32(bytes, 0, s.units);
  PutInt32(bytes, 4, s.includeHeader);
  PutInt32(bytes, 8, s.includeSimulationCard);
  bytes[12] = static_cast<char>(s.version32);
  PutText(bytes, CompileOffset, s.compileCommand);
  PutText(bytes, RebuildOffset, s.rebuildCommand);
  PutText(bytes, UserOffset, s.userCommand);
  PutText(bytes, TalpixOffset, s.talpixDir);
  PutText(bytes, VoxenOffset, s.voxenDir);
  PutText(bytes, LumetOffset, s.lumetDir);
  PutText(bytes, OrvaOffset, s.orvaDir);
  PutText(bytes, KantoOffset, s.kantoDir);
  PutText(bytes, MirellOffset, s.mirellDir);
  PutInt32(bytes, LinkCountOffset, LinkCount);
  for (std::size_t i = 0; i < s.linkEntries.size(); ++i)
    PutText(bytes, LinksOffset + TextBlock * i, StoredLinkEntry(s.linkEntries[i], s.linkBitmaps[i]));
  std::size_t reservedAt = LinksOffset + TextBlock * LinkCount;
  for (std::size_t i = 0; i < s.reservedIntegers.size(); ++i)
    PutInt32(bytes, reservedAt + 4 * i, s.reservedIntegers[i]);
  for (std::size_t i = 0; i < s.reservedBytes.size(); ++i)
    bytes[reservedAt + ReservedIntegersSize + i] = static_cast<char>(s.reservedBytes[i]);
  static_assert(LinksOffset + TextBlock * LinkCount + ReservedIntegersSize + ReservedBytesSize + PaddingSize ==
                SettingsFileSize);
  return bytes;
}

std::string StoredLinkEntry(const std::string& entry, const std::string& bitmap) {
  std::string path = entry.substr(0, entry.find(BitmapSeparator));
  if (!bitmap.empty()) path += BitmapSeparator + bitmap;
  return path;
}

std::string WriteDFT(const std::string& programDir, const SettingsRecord& settings) {
  return WriteFileAtomically(SettingsPath(programDir), EncodeSettings(settings));
}

}  // namespace tal

#pragma once
// File tests, path pieces and safe writing. Paths use "/"; names keep the case the user gave, and
// derived names (a deck's .LST, TALSHELL.DFT, ...) are found in their folder without regard to case.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tal {

// True when `name` is a regular file (or a link to one) that can be opened for reading; false for
// "", folders, FIFOs, sockets and devices, whose reading could wait for ever or never end.
bool FileReadable(const std::string& name);
// True when `path` is a regular file or a link to one. Readers that stream a file rather than
// reading it whole (ReadWholeFile checks this itself) ask before they open it.
bool IsRegularFile(const std::string& path);
// "Error #" followed by n: the report of a failed file operation with the system's code n.
std::string ReportError(int n);

std::string JoinPath(std::string_view folder, std::string_view name);
// The folder part without a trailing "/" ("" for a bare name, "/" for the root).
std::string FolderOf(std::string_view path);
std::string FileNameOf(std::string_view path);
bool HasFolder(std::string_view path);  // contains a directory separator
std::string AbsolutePath(std::string_view path);

// The entry of `folder` whose name equals `name` without regard to case: the exact name first,
// otherwise the first match in name order. nullopt when there is none.
std::optional<std::string> FindFileNoCase(const std::string& folder, const std::string& name);
// `path` itself when it exists, else the case-free match in its folder, else nullopt.
std::optional<std::string> ResolveNoCase(const std::string& path);
// Full paths of the plain files of `folder` whose names start with `prefix` (case-free), sorted.
std::vector<std::string> ListFilesWithPrefixNoCase(const std::string& folder, const std::string& prefix);

// The largest file ReadWholeFile reads unless told otherwise: 64 MiB. Decks, lists, settings and
// configuration files are far smaller; result files of any size are read in place by the viewers.
inline constexpr std::uintmax_t WholeFileLimit = std::uintmax_t{64} << 20;
// Whole file as bytes. nullopt when it cannot be read: missing or unreadable, not a regular file
// (a FIFO would wait for ever, /dev/zero never ends), or larger than `maxBytes`. Then `whyNot`,
// when given, receives a message naming the file and what is wrong with it.
std::optional<std::string> ReadWholeFile(const std::string& path, std::string* whyNot = nullptr,
                                         std::uintmax_t maxBytes = WholeFileLimit);
// Writes `bytes` to a temporary file in the target's folder and renames it over the target, so a
// failed or interrupted write leaves the old file whole. Returns "" on success, else a message
// naming the file and the system's reason. Written through a symbolic link, the file it points to
// is replaced and the link kept.
std::string WriteFileAtomically(const std::string& path, std::string_view bytes);

// Lines of a text file without their end-of-line characters ("\r\n" or "\n"); the last line
// need not end with a newline.
std::vector<std::string> SplitLines(std::string_view bytes);

}  // namespace tal

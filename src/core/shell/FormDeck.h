#pragma once
// Telling a TALKIT form deck from other text: by its extension or by its first line.
#include <string>

namespace tal {

// The first line that marks a form deck whatever its extension (compared upper-cased).
inline constexpr const char* FormDeckMarker = "*TALKIT";

// True when the file's first line (its first 255 characters), upper-cased, is exactly the
// marker. False when the file cannot be read.
bool HasFormDeckMarker(const std::string& fileName);

// True for a ".TKD" or ".TKX" name, or a file carrying the marker.
bool IsFormDeck(const std::string& fileName);

}  // namespace tal

#pragma once
// The table file ".TBL": binary, little-endian, no padding.
//   256 bytes   deck file name (length byte and characters)
//   int32       grid column count M + 1
//   int32       grid row count N + 1
//   6 x int16   client area: origin x, origin y, left, top, right, bottom
//   (N + 1) x 97 run deck names of runs 1..N + 1 (length byte and up to 96 characters)
//   M x (60 + (N + 1) x 10) for each column its 60-byte record, then its values 0..N (80-bit reals)
//   int16       0
// The 60-byte column record: int16 column number, int16 reserved, 2 unused, name (length byte and
// 30 characters), 3 unused, 4 bytes of memory reference, format kind byte, 1 unused, int16 digit
// count, 4 unused, int16 scratch position, 2 unused, 4 bytes of memory link. Unused and
// not-significant bytes are written as zeros.
#include <cstdint>
#include <string>

#include "tables/TableModel.h"

namespace tal {

inline constexpr std::size_t TableColumnRecordSize = 60;
inline constexpr std::size_t RunDeckNameRecordSize = 97;
inline constexpr std::size_t TableHeaderSize = 256 + 4 + 4 + 12;

// 256 + 4 + 4 + 12 + 97 (N + 1) + M (60 + 10 (N + 1)) + 2.
std::uint64_t TableFileSize(std::uint64_t runs, std::uint64_t variables);

// The bytes of the file for `table`.
std::string EncodeTable(const TableModel& table);

struct TableReadResult {
  bool ok = false;
  std::string message;  // when !ok: what is wrong, naming the file
  TableModel table;
};

// Reads the bytes of a table file named `fileName` (for messages). A file whose counts exceed the
// limits or whose length does not match them is refused; nothing is read past the end.
TableReadResult DecodeTable(std::string_view bytes, const std::string& fileName);

// Reads the file: the model with its table file name set to `fileName` (cut to 255), the run
// range 1..N and the modified flag clear.
TableReadResult ReadTableFile(const std::string& fileName);

// Writes `table` to `fileName` through a temporary file (the old file stays whole when writing
// fails). On success the table file name becomes `fileName` (cut to 255) and the modified flag is
// cleared; returns "" then, else the message naming the file.
std::string SaveTable(TableModel& table, const std::string& fileName);

// Finds the deck of a table just read and scans its constants: the deck it names, else a deck of
// the same extension beside the table file (the table's name up to its first "." and the deck's
// extension), which then becomes the table's deck. Returns "" when one was found, else the message
// "File <deck> which is used by this table was not found." (the table keeps its deck name).
std::string FindTableDeck(TableModel& table, int units);

// The table file of a deck: its name up to the first "." and ".TBL". A deck without "." gets the
// whole name and ".TBL" too, never the deck's own name.
std::string TableNameForDeck(const std::string& deckName);

}  // namespace tal

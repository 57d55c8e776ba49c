#include "tables/TableFile.h"

#include <algorithm>
#include <cstring>

#include "shell/ResultFiles.h"
#include "support/Files.h"
#include "support/Text.h"
#include "tables/DeckConstants.h"

namespace tal {

namespace {

void PutInt16(std::string& out, std::int16_t v) {
  auto u = static_cast<std::uint16_t>(v);
  out += static_cast<char>(u & 0xFF);
  out += static_cast<char>(u >> 8);
}

void PutInt32(std::string& out, std::int32_t v) {
  auto u = static_cast<std::uint32_t>(v);
  for (int i = 0; i < 4; ++i) out += static_cast<char>((u >> (8 * i)) & 0xFF);
}

// A length byte and the text in a field of `width` bytes (1 + at most width - 1 characters).
void PutShortString(std::string& out, std::string_view text, std::size_t width) {
  std::size_t n = std::min(text.size(), width - 1);
  out += static_cast<char>(n);
  out.append(text.substr(0, n));
  out.append(width - 1 - n, '\0');
}

// Reads at a position already known to lie inside the bytes.
class Cursor {
 public:
  explicit Cursor(std::string_view bytes) : bytes_(bytes) {}
  std::int16_t int16() {
    auto lo = static_cast<unsigned char>(bytes_[pos_]), hi = static_cast<unsigned char>(bytes_[pos_ + 1]);
    pos_ += 2;
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
  }
  std::int32_t int32() {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes_[pos_ + i])) << (8 * i);
    pos_ += 4;
    return static_cast<std::int32_t>(u);
  }
  // A length byte and text in a field of `width` bytes; a length beyond the field is cut to it.
  std::string shortString(std::size_t width) {
    std::size_t n = std::min<std::size_t>(static_cast<unsigned char>(bytes_[pos_]), width - 1);
    std::string s(bytes_.substr(pos_ + 1, n));
    pos_ += width;
    return s;
  }
  Real real() {
    Real v = DecodeExtended(reinterpret_cast<const unsigned char*>(bytes_.data() + pos_));
    pos_ += ExtendedSize;
    return v;
  }
  unsigned char byteAt(std::size_t offset) const { return static_cast<unsigned char>(bytes_[pos_ + offset]); }
  void skip(std::size_t n) { pos_ += n; }
  std::size_t position() const { return pos_; }

 private:
  std::string_view bytes_;
  std::size_t pos_ = 0;
};

std::string Refused(const std::string& fileName, const std::string& reason) {
  return "File " + fileName + " is not a valid table file: " + reason + ".";
}

}  // namespace

std::uint64_t TableFileSize(std::uint64_t runs, std::uint64_t variables) {
  return TableHeaderSize + RunDeckNameRecordSize * (runs + 1) +
         variables * (TableColumnRecordSize + ExtendedSize * (runs + 1)) + 2;
}

std::string EncodeTable(const TableModel& table) {
  const int n = table.runs();
  std::string out;
  out.reserve(static_cast<std::size_t>(TableFileSize(static_cast<std::uint64_t>(n), static_cast<std::uint64_t>(table.variables()))));
  PutShortString(out, table.deckFileName, 256);
  PutInt32(out, table.variables() + 1);
  PutInt32(out, n + 1);
  const TableClientArea& a = table.clientArea;
  for (std::int16_t v : {a.originX, a.originY, a.left, a.top, a.right, a.bottom}) PutInt16(out, v);
  for (int r = 1; r <= n + 1; ++r) {
    std::size_t i = static_cast<std::size_t>(r - 1);
    PutShortString(out, i < table.runDeckNames.size() ? table.runDeckNames[i] : std::string(), RunDeckNameRecordSize);
  }
  int number = 0;
  for (const TableColumn& column : table.columns) {
    std::string record;
    PutInt16(record, static_cast<std::int16_t>(++number));
    PutInt16(record, column.reserved);
    record.append(2, '\0');
    PutShortString(record, column.name, 31);
    record.append(3 + 4, '\0');
    record += static_cast<char>(column.format.kind);
    record += '\0';
    PutInt16(record, column.format.digits);
    record.append(TableColumnRecordSize - record.size(), '\0');
    out += record;
    for (int r = 0; r <= n; ++r) AppendExtended(out, column.values[static_cast<std::size_t>(r)]);
  }
  PutInt16(out, 0);
  return out;
}

TableReadResult DecodeTable(std::string_view bytes, const std::string& fileName) {
  TableReadResult result;
  if (bytes.size() < TableHeaderSize) {
    result.message = Refused(fileName, "it is too short");
    return result;
  }
  Cursor in(bytes);
  std::string deck = in.shortString(256);
  const std::int64_t columns = in.int32(), rows = in.int32();
  const std::int64_t n = rows - 1, m = columns - 1;
  if (n < 1 || n > TableModel::MaxRuns) {
    result.message = Refused(fileName, "it holds " + std::to_string(n) + " runs (1 to " +
                                           std::to_string(TableModel::MaxRuns) + " are possible)");
    return result;
  }
  if (m < 0 || m > TableModel::MaxVariables) {
    result.message = Refused(fileName, "it holds " + std::to_string(m) + " variables (at most " +
                                           std::to_string(TableModel::MaxVariables) + " are possible)");
    return result;
  }
  const std::uint64_t expected = TableFileSize(static_cast<std::uint64_t>(n), static_cast<std::uint64_t>(m));
  if (bytes.size() != expected) {
    result.message = Refused(fileName, "its length of " + std::to_string(bytes.size()) + " bytes does not match its " +
                                           std::to_string(n) + " runs and " + std::to_string(m) + " variables (" +
                                           std::to_string(expected) + " bytes)");
    return result;
  }
  TableModel& table = result.table;
  table = TableModel(static_cast<int>(n), {});
  table.deckFileName = deck;
  TableClientArea& a = table.clientArea;
  for (std::int16_t* v : {&a.originX, &a.originY, &a.left, &a.top, &a.right, &a.bottom}) *v = in.int16();
  for (std::size_t r = 0; r < table.runDeckNames.size(); ++r) {
    if (in.byteAt(0) > TableModel::RunDeckNameMax) {
      result.message = Refused(fileName, "its run deck name " + std::to_string(r + 1) + " is " +
                                             std::to_string(in.byteAt(0)) + " characters long (at most " +
                                             std::to_string(TableModel::RunDeckNameMax) + " are possible)");
      return result;
    }
    table.runDeckNames[r] = in.shortString(RunDeckNameRecordSize);
  }
  for (std::int64_t c = 0; c < m; ++c) {
    TableColumn column;
    in.skip(2);  // the column number is its position
    column.reserved = in.int16();
    in.skip(2);
    if (in.byteAt(0) > TableModel::NameMax) {
      result.message = Refused(fileName, "the name of its column " + std::to_string(c + 1) + " is " +
                                             std::to_string(in.byteAt(0)) + " characters long (at most " +
                                             std::to_string(TableModel::NameMax) + " are possible)");
      return result;
    }
    column.name = in.shortString(31);
    column.format.kind = in.byteAt(44 - 37);
    column.format.digits = static_cast<std::int16_t>(in.byteAt(46 - 37) | (in.byteAt(47 - 37) << 8));
    in.skip(TableColumnRecordSize - 37);
    column.values.resize(static_cast<std::size_t>(n + 1));
    for (Real& v : column.values) v = in.real();
    table.columns.push_back(std::move(column));
  }
  table.runRange = {1, static_cast<int>(n)};
  result.ok = true;
  return result;
}

TableReadResult ReadTableFile(const std::string& fileName) {
  auto bytes = ReadWholeFile(fileName);
  if (!bytes) {
    TableReadResult result;
    result.message = "File " + fileName + " cannot be read.";
    return result;
  }
  TableReadResult result = DecodeTable(*bytes, fileName);
  if (result.ok) {
    result.table.tableFileName = fileName.substr(0, TableModel::FileNameMax);
    result.table.modified = false;
  }
  return result;
}

std::string SaveTable(TableModel& table, const std::string& fileName) {
  std::string name = fileName.substr(0, TableModel::FileNameMax);
  std::string error = WriteFileAtomically(name, EncodeTable(table));
  if (!error.empty()) return error;
  table.tableFileName = name;
  table.modified = false;
  return "";
}

std::string FindTableDeck(TableModel& table, int units) {
  const std::string stored = table.deckFileName;
  const std::string tableFolder = FolderOf(table.tableFileName), tableFile = FileNameOf(table.tableFileName);
  auto besideTable = [&](const std::string& file) {
    const std::string path = JoinPath(tableFolder, file);
    return ResolveNoCase(path).value_or(path);
  };
  // A table travels with its deck: a deck of the stored deck's file name beside the table is the
  // table's deck (a copied project never runs the original's deck); then the stored deck; then a
  // deck named as the table, with the stored deck's extension.
  const std::string deckFile = FileNameOf(stored);
  const std::size_t dot = deckFile.find_last_of('.');
  const std::string extension = dot == std::string::npos ? std::string() : deckFile.substr(dot, 4);
  std::vector<std::string> candidates;
  if (!deckFile.empty() && !table.tableFileName.empty()) candidates.push_back(besideTable(deckFile));
  candidates.push_back(stored);
  if (!extension.empty() && !table.tableFileName.empty())
    candidates.push_back(besideTable(tableFile.substr(0, tableFile.find('.')) + extension));
  std::vector<std::string> lookedFor;
  for (const std::string& deck : candidates) {
    if (deck.empty() || std::find(lookedFor.begin(), lookedFor.end(), deck) != lookedFor.end()) continue;
    lookedFor.push_back(deck);
    if (ScanDeckConstants(deck, units)) {
      table.deckFileName = AbsolutePath(deck);  // the run decks go beside it, wherever the program is
      return "";
    }
  }
  std::string beside;
  for (const std::string& deck : lookedFor)
    if (deck != stored) beside += (beside.empty() ? "" : " and ") + deck;
  return "File " + stored + " which is used by this table was not found." +
         (beside.empty() ? "" : " It was looked for beside the table as " + beside + " too.");
}

std::string TableNameForDeck(const std::string& deckName) {
  std::string folder = FolderOf(deckName), file = FileNameOf(deckName);
  return JoinPath(folder, file.substr(0, file.find('.')) + ".TBL");
}

}  // namespace tal

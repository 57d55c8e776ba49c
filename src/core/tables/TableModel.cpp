#include "tables/TableModel.h"

#include <algorithm>
#include <charconv>

#include "support/Text.h"

namespace tal {

namespace {
std::size_t Index(int i) { return static_cast<std::size_t>(i); }
}  // namespace

TableModel::TableModel(int runs, const std::vector<std::string>& names) : runs_(runs) {
  runDeckNames.assign(Index(runs + 1), std::string());
  for (const auto& name : names) columns.push_back(NewColumn(name));
  runRange = {1, runs};
}

TableColumn TableModel::NewColumn(const std::string& name) const {
  TableColumn column;
  column.name = name.substr(0, NameMax);
  column.values.assign(Index(runs_ + 1), NoValue);
  return column;
}

void TableModel::setValue(int column, int row, Real v) {
  Real& stored = columns[Index(column - 1)].values[Index(row)];
  if (stored != v) modified = true;
  stored = v;
}

void TableModel::setRuns(int runs) {
  runs_ = runs;
  runDeckNames.resize(Index(runs + 1));
  for (auto& column : columns) column.values.resize(Index(runs + 1), NoValue);
}

// ---- cells ----------------------------------------------------------------------------------

std::string CellText(const TableModel& table, int column, int row) {
  if (column <= 0 || column > table.variables() || row < 0 || row > table.runs()) return "";
  const TableColumn& c = table.columns[Index(column - 1)];
  if (row == 0) return c.name;
  Real v = c.values[Index(row)];
  if (v == NoValue) return EnterValueText;
  if (v == BlankValue) return " ";
  RealFormat format = c.format.kind == 2 ? ChooseRealFormat(4, v) : c.format.AsRealFormat();
  return FormatReal(format, v);
}

void SetCellFromEditText(TableModel& table, int column, int row, const std::string& text) {
  if (column < 1 || column > table.variables() || row < 1 || row > table.runs()) return;
  std::string trimmed = TrimShort(CutShort(text));
  Real v = BlankValue;
  if (!trimmed.empty()) {
    ParsedReal parsed = ParseReal(trimmed);
    if (!parsed.ok) return;
    v = parsed.value;
  }
  table.setValue(column, row, v);
}

std::string CopyText(const TableModel& table, CellRange range) {
  std::string text;
  for (int row = range.top; row <= range.bottom; ++row) {
    if (row > range.top) text += "\r\n";
    for (int column = range.left; column <= range.right; ++column) {
      if (column > range.left) text += '\t';
      text += CellText(table, column, row);
    }
    if (text.size() > ClipboardMax) break;
  }
  if (text.size() > ClipboardMax) text.resize(ClipboardMax);
  return text;
}

std::string PasteText(TableModel& table, int startColumn, int startRow, std::string_view text) {
  text = text.substr(0, ClipboardMax);
  if (startColumn < 1 || startRow < 1) return "";
  int column = startColumn, row = startRow;
  std::size_t pos = 0;
  bool skipRestOfRow = false;
  while (pos < text.size() && row <= table.runs()) {
    std::size_t tab = text.find('\t', pos), lf = text.find('\n', pos);
    std::size_t end = std::min(tab, lf);
    bool endsRow = end == std::string_view::npos || end == lf;
    std::string_view field = text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (std::size_t cr = field.find('\r'); cr != std::string_view::npos) field = field.substr(0, cr);
    pos = end == std::string_view::npos ? text.size() : end + 1;
    if (!skipRestOfRow) {
      ParsedReal parsed = ParseReal(std::string(field));
      if (!parsed.ok)
        return "Bad number in row " + std::to_string(row) + " column " + std::to_string(column);
      if (column <= table.variables()) table.setValue(column, row, parsed.value);
    }
    if (endsRow) {
      ++row;
      column = startColumn;
      skipRestOfRow = false;
    } else if (++column > table.variables()) {
      skipRestOfRow = true;  // the rest of this text row has no column to go to
    }
  }
  return "";
}

void ClearCells(TableModel& table, CellRange range) {
  for (int column = std::max(1, range.left); column <= std::min(range.right, table.variables()); ++column)
    for (int row = std::max(1, range.top); row <= std::min(range.bottom, table.runs()); ++row)
      table.setValue(column, row, NoValue);
}

// ---- altering ---------------------------------------------------------------------------------

void ClearValues(TableModel& table, int column, int first, int last) {
  for (int r = first; r <= last; ++r) table.setValue(column, r, NoValue);
}

void SetValues(TableModel& table, int column, int first, int last, Real start, Real second, SecondValue meaning) {
  Real step = second;
  if (meaning == SecondValue::LastValue && last > first) step = (second - start) / static_cast<Real>(last - first);
  Real v = start;
  for (int r = first; r <= last; ++r) {
    table.setValue(column, r, v);
    v = meaning == SecondValue::Multiplier ? v * second : v + step;
  }
}

std::optional<int> ParseInteger(const std::string& text) {
  std::string t = TrimShort(text);
  if (!t.empty() && t[0] == '+') t.erase(0, 1);
  int value = 0;
  auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
  return value;
}

RunRangeCheck CheckRunRange(const TableModel& table, const std::string& firstText, const std::string& lastText) {
  RunRangeCheck check;
  auto first = ParseInteger(firstText);
  if (!first || *first > table.runs()) {
    check.badField = 1;
    return check;
  }
  auto last = ParseInteger(lastText);
  if (!last) {
    check.badField = 2;
    return check;
  }
  RunRange range{std::max(1, *first), *last};
  range.last = std::max(range.first, std::min(range.last, table.runs()));
  check.range = range;
  return check;
}

bool InsertDeleteRuns(TableModel& table, int k, int position) {
  const int n = table.runs();
  if (k <= -n) return false;
  position = std::clamp(position, 0, n);
  const int newRuns = n + k;
  for (auto& column : table.columns) {
    std::vector<Real> values(Index(newRuns + 1), NoValue);
    values[0] = column.values[0];
    for (int r = 1; r <= std::min(position, newRuns); ++r) values[Index(r)] = column.values[Index(r)];
    // A deletion after P removes runs P+1..P+|k|; when fewer follow, the last |k| runs go.
    int from = k > 0 ? position + k + 1 : position + 1;
    for (int r = std::max(from, 1); r <= newRuns; ++r) values[Index(r)] = column.values[Index(r - k)];
    column.values = std::move(values);
  }
  table.setRuns(newRuns);
  table.modified = table.modified || k != 0;
  table.runRange.last = newRuns;
  table.runRange.first = std::min(table.runRange.first, newRuns);
  return true;
}

void RebuildColumns(TableModel& table, const std::vector<std::string>& names) {
  std::vector<std::string> oldNames;
  for (const TableColumn& column : table.columns) oldNames.push_back(column.name);
  std::vector<TableColumn> old = std::move(table.columns);
  std::vector<bool> taken(old.size(), false);
  table.columns.clear();
  for (const auto& name : names) {
    std::string cut = name.substr(0, TableModel::NameMax);
    auto it = std::find_if(old.begin(), old.end(), [&](const TableColumn& c) { return c.name == cut; });
    if (it != old.end() && !taken[Index(it - old.begin())]) {
      taken[Index(it - old.begin())] = true;
      table.columns.push_back(std::move(*it));
    } else {
      table.columns.push_back(table.NewColumn(cut));
    }
  }
  std::vector<std::string> newNames;
  for (const TableColumn& column : table.columns) newNames.push_back(column.name);
  table.modified = table.modified || newNames != oldNames;
}

}  // namespace tal

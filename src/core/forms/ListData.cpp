#include "forms/ListData.h"

#include "forms/AnnotationLine.h"
#include "support/Files.h"
#include "support/Text.h"

namespace tal {

const std::string& ListData::Field(int row, int column) const {
  static const std::string empty;
  if (row < 0 || static_cast<std::size_t>(row) >= rows.size() || column < 1) return empty;
  const auto& fields = rows[static_cast<std::size_t>(row)];
  return static_cast<std::size_t>(column) <= fields.size() ? fields[static_cast<std::size_t>(column - 1)] : empty;
}

int ListData::FindRow(int column, std::string_view text) const {
  std::string wanted = TrimShort(text);
  for (std::size_t row = 0; row < rows.size(); ++row)
    if (EqualNoCase(Field(static_cast<int>(row), column), wanted)) return static_cast<int>(row);
  return -1;
}

std::vector<std::string> SplitListRow(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    // Whichever separator comes first ends the field.
    std::size_t end = line.find_first_of(",\t", start);
    fields.push_back(TrimShort(line.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start)));
    if (end == std::string_view::npos) return fields;
    start = end + 1;
  }
}

ListData ParseListData(std::string_view bytes) {
  ListData data;
  std::vector<std::string> lines = SplitLines(bytes);
  if (lines.empty()) return data;
  int count = ParseWholeNumber(CutShort(lines.front())).value_or(0);
  // The count only limits the rows; it never sizes anything, so an absurd count is harmless.
  for (std::size_t i = 1; i < lines.size() && static_cast<long long>(i) <= count; ++i)
    data.rows.push_back(SplitListRow(CutShort(lines[i])));
  return data;
}

std::optional<ListData> ReadListData(const std::string& path, std::string* whyNot) {
  auto bytes = ReadWholeFile(path, whyNot);
  if (!bytes) return std::nullopt;
  return ParseListData(*bytes);
}

}  // namespace tal

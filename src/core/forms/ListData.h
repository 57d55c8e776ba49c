#pragma once
// List data files of list fields: a first line with the number of rows N, then up to N rows whose
// fields are separated by "," or a tab. Fields are trimmed; rows are matched by comparing a
// column's text without regard to case.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tal {

struct ListData {
  std::vector<std::vector<std::string>> rows;

  // Column `column` (1-based) of row `row` (0-based); "" when either does not exist.
  const std::string& Field(int row, int column) const;
  // The first row whose column equals `text` (trimmed, without regard to case); -1 when none.
  int FindRow(int column, std::string_view text) const;
};

// The fields of one row, trimmed of blanks.
std::vector<std::string> SplitListRow(std::string_view line);
// Rows of a list data file's bytes. A first line that is not a whole number counts as 0 rows.
ListData ParseListData(std::string_view bytes);
// nullopt when the file cannot be read; then `whyNot`, when given, names the file and the reason.
std::optional<ListData> ReadListData(const std::string& path, std::string* whyNot = nullptr);

}  // namespace tal

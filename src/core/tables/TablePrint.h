#pragma once
// Printing a table into a running print job: the caption, then the columns in blocks that fit the
// page width, every run of a block below its header before the next block starts.
#include <string>
#include <vector>

#include "tables/TableModel.h"

namespace tal {

class TPrintJob;

// The columns (1-based, in order) of each block for columns of the given widths: a block is as
// wide as twice the left margin and 5/4 of its columns' widths allow within the page; a column
// wider than the page stands alone in its block.
std::vector<std::vector<int>> TablePrintBlocks(const std::vector<int>& widths, int leftMargin, int pageWidth);

// Prints `table` at the job's left margin and current position, captioned with `caption` (bold,
// underlined); header names bold and centred, values right-aligned in a centred block as wide as
// the column's widest value. Run numbers are not printed.
void PrintTable(TPrintJob& job, const TableModel& table, const std::string& caption);

}  // namespace tal

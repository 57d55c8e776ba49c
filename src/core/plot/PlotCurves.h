#pragma once
// Building the curves of a plot from a column table, as the Plot Setup dialog's OK does and
// talbatch plot does: numbering, symbols and colours counting on, the From Row and To Row rules,
// the axis titles from the first curve.
#include <string>
#include <vector>

#include "plot/PlotData.h"
#include "plot/PlotInfo.h"

namespace tal {

struct CurveChoice {
  int xColumn = 0;                // 0-based
  std::vector<int> yColumns;      // 0-based, in list order
  std::string fromRowText = "1";  // the From Row and To Row fields
  std::string toRowText;
  int lineStyle = 1;
  int symbol = 0;
  int color = 0;
  bool smooth = false;
};

enum class CurveRowsCheck { Ok, FromRowBeyondRows, ToRowNotInteger };

// An integer field: optional blanks, an optional sign and digits only.
bool ParseIntegerField(const std::string& text, int& value);

// The rows the curves take: From Row is the field when it is a positive integer, else 1; To Row
// is the field when it is an integer above From Row and not above the row count, else the row
// count. A From Row beyond the row count, and a To Row that is not an integer, are refused.
struct CurveRows {
  CurveRowsCheck check = CurveRowsCheck::Ok;
  int fromRow = 1;
  int toRow = 1;
};
CurveRows ChooseCurveRows(const std::string& fromRowText, const std::string& toRowText, int rowCount);

// Appends one curve per chosen Y column to `info`, numbered on from its last curve (the first
// curve of a plot also gives the axis titles). Does nothing unless the rows check is Ok; the
// caller keeps `info` within 50 curves.
CurveRowsCheck AddCurves(const TColumnTable& table, const CurveChoice& choice, TPlotInfo& info);

}  // namespace tal

// talbatch plot FILE -x NAME -y NAME[,NAME...] -o OUT.(png|svg|pdf|spf|csv) [--rows A:B] [--log x|y|xy]
// [--legend]: the plot the Plot Setup dialog would make with the proposed axes, drawn as a picture,
// saved as a plot file, or its values written as a CSV table as Export Data writes them.
#include <ostream>

#include "BatchCommand.h"
#include "CliArguments.h"
#include "plot/PlotCurves.h"
#include "plot/PlotData.h"
#include "plot/PlotDataExport.h"
#include "plot/PlotExport.h"
#include "plot/PlotScale.h"
#include "plot/SpfFile.h"
#include "support/Files.h"
#include "support/Text.h"

namespace tal::batch {
namespace {

constexpr const char* Usage =
    "usage: talbatch plot FILE -x NAME -y NAME[,NAME...] -o OUT.(png|svg|pdf|spf|csv) [--rows A:B] [--log x|y|xy] "
    "[--legend]\n";

struct PlotArgs {
  std::string file, x, output, rows, log;
  std::vector<std::string> y;
  bool legend = false;
};

// Reads the arguments into `out`; nullopt when they were read, else the exit status after the
// message naming what is wrong.
std::optional<int> ParseArgs(const std::vector<std::string>& args, PlotArgs& out, BatchIo& io) {
  CLI::App cli;
  std::vector<std::string> yLists;
  cli.add_option("FILE", out.file)->required();
  cli.add_option("-x", out.x)->required();
  cli.add_option("-y", yLists)->required()->allow_extra_args(false);
  cli.add_option("-o", out.output)->required();
  cli.add_option("--rows", out.rows);
  cli.add_option("--log", out.log);
  cli.add_flag("--legend", out.legend);
  if (auto status = ParseCommandArguments(cli, args, io, "plot", Usage)) return status;
  if (!out.log.empty() && out.log != "x" && out.log != "y" && out.log != "xy") {
    io.err << "talbatch plot: --log takes x, y or xy, not \"" << out.log << "\"\n" << Usage;
    return 2;
  }
  for (const std::string& list : yLists)
    for (const std::string& name : SplitCommas(list)) out.y.push_back(name);
  return std::nullopt;
}

// The axis as the setup dialog proposes it; a logarithmic axis whose round minimum is not
// positive starts at the data's own minimum, and one whose data reach zero is refused.
bool ProposeAxis(double dataMin, double dataMax, bool logarithmic, const char* axis, Real& min, Real& max, int& ticks,
                 int& digits, std::string& error) {
  AxisProposal p = ScaleMinMax(dataMin, dataMax);
  min = p.Min;
  max = p.Max;
  ticks = p.HasTicks ? p.Ticks : 5;
  digits = p.HasTicks ? std::clamp(p.Digits, 0, 9) : 1;
  if (logarithmic && min <= 0) {
    if (!(dataMin > 0)) {
      error = std::string("the ") + axis + " axis cannot be logarithmic: its data reach " + FormatReal({false, 5}, dataMin);
      return false;
    }
    min = dataMin;
  }
  if (!AxisRangeValid(min, max, logarithmic)) {
    error = std::string("the ") + axis + " axis has no range to draw";
    return false;
  }
  return true;
}

int RunPlot(const std::vector<std::string>& args, BatchIo& io) {
  PlotArgs a;
  if (auto status = ParseArgs(args, a, io)) return *status;
  std::string error;
  const bool spf = ExtensionOf(a.output) == ".SPF";
  const bool csv = ExtensionOf(a.output) == ".CSV";
  if (!spf && !csv && PictureFormatOf(a.output) == PlotPictureFormat::None) {
    io.err << "talbatch plot: " << a.output << ": the output must end in .png, .svg, .pdf, .spf or .csv\n";
    return 2;
  }
  TColumnTable table;
  table.PltFileName = a.file;
  ReadPltResult read = ReadPlt(table);
  if (!read.error.empty()) {
    io.err << "talbatch plot: " << read.error << "\n";
    return 2;
  }

  CurveChoice choice;
  choice.xColumn = table.ColumnIndex(a.x);
  if (choice.xColumn < 0) {
    io.err << "talbatch plot: " << a.file << " has no column named \"" << a.x << "\"\n";
    return 2;
  }
  double yMin = 1.0e60, yMax = -1.0e60;
  for (const std::string& name : a.y) {
    int k = table.ColumnIndex(name);
    if (k < 0) {
      io.err << "talbatch plot: " << a.file << " has no column named \"" << name << "\"\n";
      return 2;
    }
    choice.yColumns.push_back(k);
    yMin = std::min(yMin, table.ColMin[k]);
    yMax = std::max(yMax, table.ColMax[k]);
  }
  if (choice.yColumns.size() > static_cast<std::size_t>(MaxPlotLines)) {
    io.err << "talbatch plot: a plot holds at most " << MaxPlotLines << " curves\n";
    return 2;
  }
  choice.toRowText = std::to_string(table.RowCount);
  if (!a.rows.empty()) {
    std::size_t colon = a.rows.find(':');
    int from = 0, to = 0;
    if (colon == std::string::npos || !ParseIntegerField(a.rows.substr(0, colon), from) ||
        !ParseIntegerField(a.rows.substr(colon + 1), to) || from < 1 || to <= from || to > table.RowCount) {
      io.err << "talbatch plot: bad row range \"" << a.rows << "\": give A:B with 1 <= A < B <= " << table.RowCount
             << "\n";
      return 2;
    }
    choice.fromRowText = std::to_string(from);
    choice.toRowText = std::to_string(to);
  }

  TPlotInfo info;
  info.XLog = a.log.find('x') != std::string::npos;
  info.YLog = a.log.find('y') != std::string::npos;
  int digits = 0;
  const auto x = static_cast<std::size_t>(choice.xColumn);
  if (!ProposeAxis(table.ColMin[x], table.ColMax[x], info.XLog, "X", info.XMin, info.XMax, info.XTicks, digits,
                   error)) {
    io.err << "talbatch plot: " << error << "\n";
    return 2;
  }
  info.XFormat = {1, static_cast<std::int16_t>(digits)};
  if (!ProposeAxis(yMin, yMax, info.YLog, "Y", info.YMin, info.YMax, info.YTicks, digits, error)) {
    io.err << "talbatch plot: " << error << "\n";
    return 2;
  }
  info.YFormat = {1, static_cast<std::int16_t>(digits)};
  info.ShowLegend = a.legend ? 1 : 0;
  if (AddCurves(table, choice, info) != CurveRowsCheck::Ok) {
    io.err << "talbatch plot: bad row range\n";
    return 2;
  }
  table.Release();

  std::string written = spf   ? WriteSpfFile(a.output, "Plot 1: from " + a.file, info)
                        : csv ? ExportPlotData(a.output, info, false)
                              : ExportPlot(a.output, info, PlotFrame{});
  if (!written.empty()) {
    io.err << "talbatch plot: " << written << "\n";
    return 1;
  }
  return 0;
}

const bool registered = RegisterBatchCommand(
    {"plot",
     "plot FILE -x NAME -y NAME[,NAME...] -o OUT.(png|svg|pdf|spf|csv) [--rows A:B] [--log x|y|xy] [--legend]\n"
     "                      draw columns of a plot data file as the Plot Setup dialog proposes them",
     RunPlot, true});

}  // namespace
}  // namespace tal::batch

// talbatch plot-info FILE: the columns of a plot data file as the Plot Setup dialog reads them.
#include <ostream>

#include "BatchCommand.h"
#include "CliArguments.h"
#include "plot/PlotData.h"
#include "support/Numbers.h"

namespace tal::batch {
namespace {

std::string Value(double v) { return FormatReal({false, 11}, v); }

constexpr const char* Usage = "usage: talbatch plot-info FILE\n";

int RunPlotInfo(const std::vector<std::string>& args, BatchIo& io) {
  CLI::App cli;
  std::string file;
  cli.add_option("FILE", file);
  if (auto status = ParseCommandArguments(cli, args, io, "plot-info", Usage)) return *status;
  if (file.empty()) {
    io.err << Usage;
    return 2;
  }
  TColumnTable table;
  table.PltFileName = file;
  ReadPltResult read = ReadPlt(table);
  if (!read.error.empty()) {
    io.err << "talbatch plot-info: " << read.error << "\n";
    return 2;
  }
  io.out << "file " << file << "\n";
  io.out << "names " << (table.HasNames ? "yes" : "no") << "\n";
  io.out << "units " << (table.HasUnits ? "yes" : "no") << "\n";
  io.out << "rows " << table.RowCount << "\n";
  io.out << "columns " << table.ColCount << "\n";
  for (int k = 0; k < table.ColCount; ++k) {
    io.out << k + 1 << "\t" << table.ColName[k] << "\t" << table.ColUnit[k] << "\tmin " << Value(table.ColMin[k])
           << "\tmax " << Value(table.ColMax[k]) << "\n";
  }
  return 0;
}

const bool registered = RegisterBatchCommand(
    {"plot-info", "plot-info FILE      the columns of a plot data file: names, units, rows, minimum and maximum",
     RunPlotInfo});

}  // namespace
}  // namespace tal::batch

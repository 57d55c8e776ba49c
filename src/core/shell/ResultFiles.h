#pragma once
// The result files of a deck: the engine leaves them beside the deck under the deck's base name.
// These functions only look; the Windows menu (TTALSHELLFORM::GetLSTFile ...) and
// `talbatch results` both attach what they find, so the two always agree.
#include <string>
#include <string_view>
#include <vector>

namespace tal {

// The deck's name up to, not including, the first "." of its file name ("/w/v1.2/A.B.DCK" gives
// "/w/v1.2/A"); the whole name when the file name holds no ".".
std::string BaseNameOf(std::string_view deck);

// Each returns the full name of the readable result file of `deck`, found without regard to the
// case of its name, or "" when there is none.
std::string FindListingFile(const std::string& deck);  // base + ".LST"
std::string FindPlotFile(const std::string& deck);     // base + ".PLT"
std::string FindTableFile(const std::string& deck);    // base + ".TBL"
// base + ".BMP", else base + ".WMF"; "" also when the deck's name holds no ".".
std::string FindDiagramFile(const std::string& deck);
// Every plain file named base + ".O*" (case-free), in name order.
std::vector<std::string> FindOutputFiles(const std::string& deck);

enum class ResultKind { Listing, Output, Plot, Table, Diagram };

struct ResultFile {
  ResultKind kind;
  std::string path;
};

// Everything the shell attaches for `deck`: the listing, the output files, the plot data, the table
// and the diagram, in that order.
std::vector<ResultFile> FindResultFiles(const std::string& deck);
// "listing", "output", "plot", "table", "diagram".
std::string ResultKindName(ResultKind kind);

// Caption of a Windows menu entry ("Listing", "Table", "Diagram", "Input"): the plain caption, one
// blank and the file's full name when it points at a file; the plain caption alone otherwise.
std::string WindowsEntryCaption(std::string_view plain, std::string_view path);

}  // namespace tal

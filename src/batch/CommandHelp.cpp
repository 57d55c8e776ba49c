#include "CommandHelp.h"

#include <sstream>

namespace tal::batch {

namespace {

struct Help {
  const char* command;
  const char* text;
};

// What each command does, what its options mean and its exit status; the usage lines before it
// are the command's own (see CommandHelp.h).
constexpr Help Helps[] = {
    {"settings",
     "Shows every field of DIR/TALSHELL.DFT as key=value lines, or changes the named fields and writes the\n"
     "file. DIR defaults to the current folder (an installed talbatch in a folder without TALSHELL.DFT:\n"
     "the user's program directory). Keys: units, include_header, include_simulation_card, version32,\n"
     "compile_command, rebuild_command, user_command, talpix_dir, voxen_dir, lumet_dir, orva_dir,\n"
     "kanto_dir, mirell_dir, link1..link4, link1_bitmap..link4_bitmap.\n"
     "Exit status: 0, 1 for a missing or damaged file, 2 for an unknown key or a bad value.\n"},
    {"run",
     "Runs the engine TALPIX32 of the TALPIX directory in DIR/TALSHELL.DFT on DECK as Calculate does,\n"
     "passes its output through, then lists the listing, output and plot files.\n"
     "  --program-dir DIR   the program directory (default: the current folder)\n"
     "Exit status: the engine's; 127 when it could not be started, 1 when it ended through a signal,\n"
     "2 for bad input.\n"},
    {"results",
     "Lists the result files the shell attaches when DECK is opened: listing, output, plot, table and\n"
     "diagram files, with full names. Exit status 2 when the deck cannot be read.\n"},
    {"form",
     "show lists the items of the form deck FORM; set fills it in as a user would, in the order given,\n"
     "and writes it back in place (the previous file kept as .BAK) or to OUT.\n"
     "  --units 1|2          primary (1) or secondary (2) units\n"
     "  -o OUT               write the filled-in deck to OUT\n"
     "  NAME=VALUE           a numeric, list or file field by variable name or label\n"
     "  --check CAPTION=on|off  set a check box\n"
     "  --choose CAPTION     choose a radio button\n"
     "Exit status: 2 for a message of reading the deck or of a field check, 1 for a failed write.\n"},
    {"table",
     "new makes a table of N runs over the named deck constants; set fills runs of one variable as Alter\n"
     "Table does; show prints the cells; run runs the table as Run Table does, on this computer with up to\n"
     "N engines at once or as one job array on a Slurm cluster.\n"
     "  talbatch table results FILE.TBL [--collect COLUMN:STAT[,COLUMN:STAT...]] [-o OUT.csv]\n"
     "results prints a line per run (the table's variables, then each COLUMN:STAT of the plot and output\n"
     "files the run left) as CSV with a header line of names, or writes it to OUT.csv. STAT is last, min,\n"
     "max, mean, sum or integral (trapezoidal over TIME, in the column's unit times hours). Without\n"
     "--collect the choice kept beside the table in NAME.TRS is used.\n"
     "Exit status: 2 for bad input; run: 0 when every run ended with status 0, else 1; results: 2 for a\n"
     "column no run's file holds, 1 when a run left no file (its line written with empty cells).\n"},
    {"make-form",
     "Make TALKIT file without the dialog: writes the form deck OUT.TKD for DECK.\n"
     "  --all                every parameter and settable input becomes a field\n"
     "  --select UNIT:NAME,...  the fields one by one (also --select=...)\n"
     "  --header             include Header.txt\n"
     "  --simulation-card    include the simulation card's fields\n"
     "  --program-dir DIR    the program directory (default: the current folder; also --program-dir=DIR)\n"
     "  -o OUT.TKD           the form deck to write\n"
     "Exit status: 2 for bad arguments or nothing to generate, 1 when the file cannot be written.\n"},
    {"plot-info",
     "Lists how the plot setup reads FILE: names and units lines, rows, and each column's number, name,\n"
     "unit, minimum and maximum. Exit status 2 when the file cannot be read.\n"},
    {"plot",
     "Draws columns of the plot data file FILE as the plot window does, or saves them as a .SPF plot file.\n"
     "  -x NAME              the column of the x axis\n"
     "  -y NAME[,NAME...]    one curve per column\n"
     "  -o OUT               the picture or plot file to write (by its extension)\n"
     "  --rows A:B           rows A to B (default: all)\n"
     "  --log x|y|xy         logarithmic axes\n"
     "  --legend             draw the legend\n"
     "Exit status: 2 for bad input (nothing written), 1 for a failed write.\n"},
};

// The usage lines a command prints when it is given no arguments.
std::string UsageOf(const BatchCommand& command) {
  std::ostringstream out, err;
  BatchIo quiet{out, err};
  command.handler({}, quiet);
  const std::string said = err.str();
  const std::size_t usage = said.find("usage: talbatch");
  return usage == std::string::npos ? "usage: talbatch " + command.summary + "\n" : said.substr(usage);
}

}  // namespace

std::string CommandHelp(const BatchCommand& command) {
  std::string help = UsageOf(command);
  while (help.ends_with("\n\n")) help.pop_back();
  for (const Help& description : Helps)
    if (command.name == description.command) help += std::string("\n") + description.text;
  return help;
}

}  // namespace tal::batch

// talbatch settings show [DIR]
// talbatch settings set [DIR] KEY=VALUE ...
// Shows or changes the settings file "TALSHELL.DFT" of DIR (default: the current folder, see
// ProgramDirectory.h).
#include <functional>
#include <ostream>

#include "BatchCommand.h"
#include "CliArguments.h"
#include "ProgramDirectory.h"
#include "runs/SettingsFile.h"
#include "support/Files.h"
#include "support/Text.h"

namespace tal::batch {
namespace {

struct SettingsKey {
  std::string name;
  std::function<std::string(const SettingsRecord&)> get;
  // Stores `value`; returns "" or what is wrong with it.
  std::function<std::string(SettingsRecord&, const std::string& value)> set;
};

SettingsKey IntegerKey(const std::string& name, std::int32_t SettingsRecord::*field, std::int32_t first,
                       std::int32_t second) {
  return {name, [=](const SettingsRecord& s) { return std::to_string(s.*field); },
          [=](SettingsRecord& s, const std::string& value) -> std::string {
            std::string a = std::to_string(first), b = std::to_string(second);
            if (value != a && value != b) return name + " must be " + a + " or " + b + ", not \"" + value + "\"";
            s.*field = value == a ? first : second;
            return {};
          }};
}

SettingsKey VersionKey() {
  return {"version32", [](const SettingsRecord& s) { return std::to_string(s.version32); },
          [](SettingsRecord& s, const std::string& value) -> std::string {
            if (value != "0" && value != "1") return "version32 must be 0 or 1, not \"" + value + "\"";
            s.version32 = value == "1" ? 1 : 0;
            return {};
          }};
}

std::string CheckLength(const std::string& name, const std::string& value) {
  if (value.size() > ShortTextMax)
    return name + " is " + std::to_string(value.size()) + " characters long, at most 255 are allowed";
  return {};
}

SettingsKey TextKey(const std::string& name, std::string SettingsRecord::*field) {
  return {name, [=](const SettingsRecord& s) { return s.*field; },
          [=](SettingsRecord& s, const std::string& value) {
            std::string problem = CheckLength(name, value);
            if (problem.empty()) s.*field = value;
            return problem;
          }};
}

// A link entry and its bitmap share one 255-character text in the file, joined by code 1.
std::string CheckLink(const SettingsRecord& s, std::size_t row) {
  std::string name = "link" + std::to_string(row + 1);
  if (s.linkEntries[row].find('\x01') != std::string::npos || s.linkBitmaps[row].find('\x01') != std::string::npos)
    return name + " must not hold the character with code 1";
  std::size_t length = StoredLinkEntry(s.linkEntries[row], s.linkBitmaps[row]).size();
  if (length > ShortTextMax)
    return name + " and " + name + "_bitmap together take " + std::to_string(length) +
           " characters, at most 255 are allowed";
  return {};
}

SettingsKey LinkKey(std::size_t row, bool bitmap) {
  std::string name = "link" + std::to_string(row + 1) + (bitmap ? "_bitmap" : "");
  auto field = [=](SettingsRecord& s) -> std::string& { return bitmap ? s.linkBitmaps[row] : s.linkEntries[row]; };
  return {name,
          [=](const SettingsRecord& s) { return bitmap ? s.linkBitmaps[row] : s.linkEntries[row]; },
          [=](SettingsRecord& s, const std::string& value) {
            field(s) = value;
            return CheckLink(s, row);
          }};
}

const std::vector<SettingsKey>& Keys() {
  static const std::vector<SettingsKey> keys = [] {
    std::vector<SettingsKey> k = {
        IntegerKey("units", &SettingsRecord::units, 1, 2),
        IntegerKey("include_header", &SettingsRecord::includeHeader, 0, 1),
        IntegerKey("include_simulation_card", &SettingsRecord::includeSimulationCard, 0, 1),
        VersionKey(),
        TextKey("compile_command", &SettingsRecord::compileCommand),
        TextKey("rebuild_command", &SettingsRecord::rebuildCommand),
        TextKey("user_command", &SettingsRecord::userCommand),
        TextKey("talpix_dir", &SettingsRecord::talpixDir),
        TextKey("voxen_dir", &SettingsRecord::voxenDir),
        TextKey("lumet_dir", &SettingsRecord::lumetDir),
        TextKey("orva_dir", &SettingsRecord::orvaDir),
        TextKey("kanto_dir", &SettingsRecord::kantoDir),
        TextKey("mirell_dir", &SettingsRecord::mirellDir),
    };
    for (std::size_t row = 0; row < 4; ++row) k.push_back(LinkKey(row, false));
    for (std::size_t row = 0; row < 4; ++row) k.push_back(LinkKey(row, true));
    return k;
  }();
  return keys;
}

const SettingsKey* FindKey(const std::string& name) {
  for (const auto& k : Keys())
    if (k.name == name) return &k;
  return nullptr;
}

constexpr const char* Usage =
    "usage: talbatch settings show [DIR]\n"
    "       talbatch settings set [DIR] KEY=VALUE ...\n";

struct Arguments {
  std::string dir;
  std::vector<std::string> assignments;
  bool ok = true;
};

// The folder is the one operand without "="; every other operand is KEY=VALUE.
Arguments SplitArguments(const std::vector<std::string>& args) {
  Arguments a;
  bool dirSeen = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i].find('=') != std::string::npos) {
      a.assignments.push_back(args[i]);
    } else if (!dirSeen && a.assignments.empty()) {
      a.dir = args[i];
      dirSeen = true;
    } else {
      a.ok = false;
    }
  }
  return a;
}

// A stored text as one line of output: control characters and the backslash are written as
// "\xNN" and "\\", so a line feed inside a stored path cannot make a line of its own.
std::string Escaped(const std::string& text) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    if (c == '\\') {
      out += "\\\\";
    } else if (u < 0x20 || u == 0x7f) {
      out += "\\x";
      out += digits[u >> 4];
      out += digits[u & 15];
    } else {
      out += c;
    }
  }
  return out;
}

int Show(const Arguments& a, BatchIo& io) {
  if (!a.assignments.empty()) {
    io.err << Usage;
    return 2;
  }
  SettingsRecord s;
  DftReadResult r = ReadDFT(a.dir, s);
  if (!r.ok) {
    io.err << "talbatch: " << r.message << "\n";
    return 1;
  }
  for (const auto& k : Keys()) io.out << k.name << "=" << Escaped(k.get(s)) << "\n";
  return 0;
}

int Set(const Arguments& a, BatchIo& io) {
  if (a.assignments.empty()) {
    io.err << Usage;
    return 2;
  }
  SettingsRecord s;
  bool missing = !FindFileNoCase(a.dir, SettingsFileName);
  if (!missing) {
    DftReadResult r = ReadDFT(a.dir, s);
    if (!r.ok) {
      io.err << "talbatch: " << r.message << "\n";
      return 1;
    }
  }
  for (const auto& assignment : a.assignments) {
    std::size_t eq = assignment.find('=');
    std::string name = assignment.substr(0, eq), value = assignment.substr(eq + 1);
    const SettingsKey* key = FindKey(name);
    std::string problem = key ? key->set(s, value) : "unknown setting \"" + name + "\"";
    if (!problem.empty()) {
      io.err << "talbatch: " << problem << "; nothing was changed\n";
      return 2;
    }
  }
  std::string failure = WriteDFT(a.dir, s);
  if (!failure.empty()) {
    io.err << "talbatch: " << failure << "\n";
    return 1;
  }
  for (std::size_t row = 0; row < s.linkBitmaps.size(); ++row)
    if (!s.linkBitmaps[row].empty() && !FileReadable(s.linkBitmaps[row]))
      io.err << "talbatch: note: link" << row + 1 << "_bitmap " << s.linkBitmaps[row]
             << " cannot be read; it will be dropped when the settings are read\n";
  return 0;
}

int SettingsMain(const std::vector<std::string>& args, BatchIo& io) {
  CLI::App cli;
  std::string action;
  std::vector<std::string> operands;
  cli.add_option("ACTION", action)->required()->check(CLI::IsMember({"show", "set"}));
  cli.add_option("OPERANDS", operands);
  if (auto status = ParseCommandArguments(cli, args, io, "settings", Usage)) return *status;
  Arguments a = SplitArguments(operands);
  if (!a.ok) {
    io.err << Usage;
    return 2;
  }
  // The program directory as the program names it in its messages: full, without a trailing "/".
  const auto programDir = ProgramDirectoryOf(a.dir, io);
  if (!programDir) return 1;
  a.dir = *programDir;
  return action == "show" ? Show(a, io) : Set(a, io);
}

const bool registered = RegisterBatchCommand(
    {"settings", "settings show [DIR] | settings set [DIR] KEY=VALUE ...  (the TALSHELL.DFT of DIR)", SettingsMain});

}  // namespace
}  // namespace tal::batch

#pragma once
// Where the program was started from and in which mode. Set once at start-up.
#include <string>

namespace tal {

struct ProgramInfo {
  std::string path;       // the executable's full path as started (links not resolved)
  std::string directory;  // its folder, without a trailing "/": settings and lists live here
  bool talkitMode = false;  // the upper-cased path contains "TALKIT"
};

// The program-wide values; empty until start-up (or a test) sets them.
ProgramInfo& Program();

// argv[0] made absolute against `currentDir`, or, when it has no folder, the first entry of
// `pathVariable` (a ":"-separated list) holding an executable of that name.
ProgramInfo DetermineProgramInfo(const std::string& argv0, const std::string& currentDir,
                                 const std::string& pathVariable);

}  // namespace tal

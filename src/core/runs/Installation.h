#pragma once
// Settings of an installation rather than of a user: the optional text file "TALSHELL.INI" in
// the program directory, one "Key=Value" per line (keys without regard to case; lines starting
// with "#" or ";" and lines without "=" are ignored):
//
//   FrontEnd=MERODIN                     the first utility is the MERODIN front-end ("Splash")
//                                        instead of VOXEN; any other value or none means VOXEN
//   Website=https://www.talpix.example/  the address "TALPIX Website" opens
//   ParallelRuns=2                       engines Run Table starts at once (default: the number
//                                        of cores)
//
// A missing file means VOXEN and the default address.
#include <string>

namespace tal {

inline constexpr const char* InstallationFileName = "TALSHELL.INI";
inline constexpr const char* DefaultWebsite = "https://www.talpix.example/";

struct Installation {
  bool merodinFrontEnd = false;
  std::string website = DefaultWebsite;
  int parallelRuns = 0;  // 0: as many as the machine has cores
};

Installation ReadInstallation(const std::string& programDir);

}  // namespace tal

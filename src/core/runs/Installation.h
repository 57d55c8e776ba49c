#pragma once
// Settings of an installation rather than of a user: the optional text file "TALSHELL.INI" in
// the program directory, one "Key=Value" per line (keys without regard to case; lines starting
// with "#" or ";" and lines without "=" are ignored):
//
//   FrontEnd=MERODIN                     the first utility is the MERODIN front-end ("Splash")
//                                        instead of VOXEN; any other value or none means VOXEN
//   Website=https://www.talpix.example/  the address "TALPIX Website" opens
//
// A missing file means VOXEN and the default address.
#include <string>

namespace tal {

inline constexpr const char* InstallationFileName = "TALSHELL.INI";
inline constexpr const char* DefaultWebsite = "https://www.talpix.example/";

struct Installation {
  bool merodinFrontEnd = false;
  std::string website = DefaultWebsite;
};

Installation ReadInstallation(const std::string& programDir);

}  // namespace tal

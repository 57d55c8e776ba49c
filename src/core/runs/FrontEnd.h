#pragma once
// Which graphical front-end the installation uses for the first utility program.

namespace tal {

// True when the installation uses the alternative front-end ("MERODIN", program "Splash")
// instead of VOXEN: "FrontEnd=MERODIN" in the installation file "TALSHELL.INI" of the program
// directory (Installation.h). Without the file or the line, VOXEN.
bool UsesMerodinFrontEnd();

}  // namespace tal

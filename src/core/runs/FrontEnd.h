#pragma once
// Which graphical front-end the installation uses for the first utility program.

namespace tal {

// True when the installation uses the alternative front-end ("MERODIN", program "Splash")
// instead of VOXEN. The engine-runs and utilities code decides where this flag comes from;
// until it does, every installation uses VOXEN.
bool UsesMerodinFrontEnd();

}  // namespace tal

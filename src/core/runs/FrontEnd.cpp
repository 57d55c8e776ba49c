#include "runs/FrontEnd.h"

#include "runs/Installation.h"
#include "support/Program.h"

namespace tal {

// The flag is an installation setting: "FrontEnd=MERODIN" in TALSHELL.INI of the program
// directory (see Installation.h). Read each time, so an installer's change shows at once.
bool UsesMerodinFrontEnd() { return ReadInstallation(Program().directory).merodinFrontEnd; }

}  // namespace tal

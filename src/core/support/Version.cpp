#include "support/Version.h"

// TAL_VERSION is the project's version, given to this file alone by the build.
namespace tal {
const char* ProgramVersion() { return TAL_VERSION; }
}  // namespace tal

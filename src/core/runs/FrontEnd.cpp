#include "runs/FrontEnd.h"

namespace tal {

bool UsesMerodinFrontEnd() { return false; }

}  // namespace tal

#include "forms/ErrorState.h"

namespace tal {

int& ErrorState() {
  static int state = ErrorStateClear;
  return state;
}

}  // namespace tal

#pragma once
// Range check of a numeric edit field, as every form and dialog field uses it.
#include <QLineEdit>

#include "support/Numbers.h"

namespace tal {

// Checks the field's text with CheckRealValue (kinds as there). On failure the user hears a beep
// and the field gets the focus with its whole text selected; nothing else is shown.
CheckedReal CheckRealField(QLineEdit& edit, int kind, Real low, Real high);

}  // namespace tal

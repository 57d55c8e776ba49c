#include "support/CheckRealField.h"

#include "support/Interaction.h"
#include "support/QtStrings.h"

namespace tal {

CheckedReal CheckRealField(QLineEdit& edit, int kind, Real low, Real high) {
  CheckedReal checked = CheckRealValue(FromQt(edit.text()), kind, low, high);
  if (!checked.valid) {
    interaction().beep();
    edit.setFocus();
    edit.selectAll();
  }
  return checked;
}

}  // namespace tal

// TALKIT mode: the units system of the forms, chosen from the TALPIX menu. The choice lives in
// the settings record; only the settings dialog's Store writes it to disk.
#include <QAction>

#include "forms/TalkitForm.h"
#include "runs/SettingsFile.h"
#include "shell/TalshellForm.h"

namespace tal {

void TTALSHELLFORM::PrimaryUnits1Click() {
  QAction* primary = action(MenuItem::PrimaryUnits);
  QAction* secondary = action(MenuItem::SecondaryUnits);
  if (CurrentSettings().units == 1) {
    if (primary) primary->setChecked(true);  // a click on the checked item must not uncheck it
    return;
  }
  if (primary) primary->setChecked(true);
  if (secondary) secondary->setChecked(false);
  CurrentSettings().units = 1;
  ConvertOpenForms(2, 1);
}

void TTALSHELLFORM::SecondaryUnits1Click() {
  QAction* primary = action(MenuItem::PrimaryUnits);
  QAction* secondary = action(MenuItem::SecondaryUnits);
  if (CurrentSettings().units == 2) {
    if (secondary) secondary->setChecked(true);
    return;
  }
  if (secondary) secondary->setChecked(true);
  if (primary) primary->setChecked(false);
  CurrentSettings().units = 2;
  ConvertOpenForms(1, 2);
}

// Every form window converts its values between the units systems and repaints.
void TTALSHELLFORM::ConvertOpenForms(int from, int to) {
  for (TChildForm* child : children())
    if (auto* form = qobject_cast<TTALKITForm*>(child)) form->ConvertUnits(from, to);
}

}  // namespace tal

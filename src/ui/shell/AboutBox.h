#pragma once
// The about box: product, purpose and version; shown modally at start-up and from the menu.
#include <QDialog>

namespace tal {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  // Texts for TALKIT mode when `talkitMode`, else for the full shell.
  TAboutBox(bool talkitMode, QWidget* parent = nullptr);
};

}  // namespace tal

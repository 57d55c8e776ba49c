#pragma once
// The diagram window (kind 8000): a deck's system picture, a bitmap or a metafile, in a scrolling
// area that sizes itself to the picture.
#include <QImage>
#include <string>

#include "shell/ChildForm.h"

class QLabel;
class QScrollArea;

namespace tal {

class TDiagramForm : public TChildForm {
  Q_OBJECT

 public:
  // Captioned "Diagram" until a picture is loaded.
  explicit TDiagramForm(TTALSHELLFORM* shell);

  // Loads a bitmap (any picture Qt reads) or a metafile (".WMF") and titles the window with its
  // name. A picture that cannot be shown leaves a note naming the file and why in the window;
  // returns false then.
  bool LoadPicture(const std::string& path);
  // Opening a bitmap: make the client area 2 pixels wider and higher than the picture, in each
  // direction where that still fits on the screen.
  void FitToPicture();
  // Save as: writes the picture's file unchanged under `path` (through a temporary file). False
  // after an error naming the file.
  bool SavePicture(const std::string& path);
  // The File menu's Save as: SavePicture(name).
  bool saveDocument(const std::string& name) override { return SavePicture(name); }

  const QImage& picture() const { return picture_; }
  // The note shown instead of a picture ("" when the picture shows).
  std::string note() const;

  void copySelection() override;
  void printOn(TPrintJob& job) override;

 private:
  QScrollArea* area_;
  QLabel* image_;
  QImage picture_;
  std::string bytes_;
};

}  // namespace tal

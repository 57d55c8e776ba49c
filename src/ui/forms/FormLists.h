#pragma once
// The list field of a form (TFileInput): a drop-down list of the display column of a list data
// file. A hidden list field makes no control at all.
#include <QComboBox>
#include <cstddef>

#include "forms/FormFields.h"

namespace tal {

class TTALKITForm;

class TFileInput : public QComboBox {
  Q_OBJECT

 public:
  TFileInput(TTALKITForm* form, std::size_t item, QWidget* parent);

  std::size_t item() const { return item_; }
  int tag() const { return ListOrFileTag; }

 private:
  TTALKITForm* form_;
  std::size_t item_;
};

}  // namespace tal

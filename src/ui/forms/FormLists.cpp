#include "forms/FormLists.h"

#include "forms/TalkitForm.h"

namespace tal {

TFileInput::TFileInput(TTALKITForm* form, std::size_t item, QWidget* parent)
    : QComboBox(parent), form_(form), item_(item) {
  setEditable(false);
  setInsertPolicy(QComboBox::NoInsert);
  connect(this, &QComboBox::activated, this, [this](int row) { form_->ListRowChosen(*this, row); });
}

}  // namespace tal

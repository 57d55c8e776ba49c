// The form window's part in the Print command.
#include "forms/FormPrint.h"
#include "forms/TalkitForm.h"

namespace tal {

void TTALKITForm::printOn(TPrintJob& job) { PrintForm(job, model_, layout_, *pictures_); }

}  // namespace tal

#pragma once
// Printing a form into a running print job: a listing of what the user sees, in item order -
// labels, field values in boxes, unit captions, group captions underlined, check boxes and radio
// buttons as symbols, and pictures - leaving out everything in groups that are switched off.
#include "forms/FormFonts.h"
#include "forms/FormLayout.h"
#include "forms/FormModel.h"
#include "shell/PrintJob.h"

namespace tal {

// Prints `form`, laid out as `layout`, at the job's position and moves the position on.
// Screen positions become printer positions through the job's scale (one screen inch is one
// margin unit).
void PrintForm(TPrintJob& job, const FormModel& form, const FormLayout& layout, FormPictures& pictures);

}  // namespace tal

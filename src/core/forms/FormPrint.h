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
// Form positions become printer positions at one margin unit per inch of the form.
void PrintForm(TPrintJob& job, const FormModel& form, const FormLayout& layout, FormPictures& pictures);

}  // namespace tal

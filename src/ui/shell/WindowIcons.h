#pragma once
// The icons windows show: the program's own (TALSHELL or TALKIT) on the frame and dialogs, and one
// per kind of child window, so that a minimised or listed child tells what it shows.
#include <QIcon>

#include "shell/KindCode.h"

namespace tal {

QIcon ProgramIcon(bool talkitMode);
QIcon ChildWindowIcon(KindCode kind);

}  // namespace tal

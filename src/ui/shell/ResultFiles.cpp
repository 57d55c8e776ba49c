// Attaching a deck's result files (listing, output, plot data, table, diagram) to the Windows
// menu. The result-files work fills these in; until then a deck's results are not attached and
// the Windows entries stay as they are.
#include "shell/TalshellForm.h"

namespace tal {

void TTALSHELLFORM::GetLSTFile(const std::string& name, bool open) {}

void TTALSHELLFORM::GetOUTFile(const std::string& name, bool open) {}

void TTALSHELLFORM::GetPLTFile(const std::string& name, bool open) {}

void TTALSHELLFORM::GetTBLFile(const std::string& name, bool open) {}

void TTALSHELLFORM::GetDGMFile(const std::string& name) {}

}  // namespace tal

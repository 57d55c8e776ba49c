#pragma once
// Window titles that stay useful when the title bar is narrow.
#include <string>

namespace tal {

// A document's full name as a title with its file name first: "/work/demo/HOUSE.TBL" becomes
// "HOUSE.TBL - /work/demo", so a title cut at its end still shows which file it is. A name
// without a folder stays as it is.
std::string FileNameFirstTitle(const std::string& path);

}  // namespace tal

#pragma once
#include <QIcon>
#include <string>

namespace tal {

// The glyph of a link entry's bitmap, as the settings dialog and form buttons show it: one image,
// or normal and disabled images side by side when the bitmap is 32 pixels wide. Null when there
// is no readable bitmap.
QIcon LinkBitmapIcon(const std::string& path);

}  // namespace tal

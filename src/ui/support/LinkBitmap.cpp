#include "support/LinkBitmap.h"

#include <QFile>
#include <QPixmap>

namespace tal {

QIcon LinkBitmapIcon(const std::string& path) {
  QPixmap picture(path.empty() ? QString() : QFile::decodeName(path.c_str()));
  if (picture.isNull()) return {};
  QIcon icon;
  if (picture.width() == 32) {
    icon.addPixmap(picture.copy(0, 0, 16, picture.height()), QIcon::Normal);
    icon.addPixmap(picture.copy(16, 0, 16, picture.height()), QIcon::Disabled);
  } else {
    icon.addPixmap(picture, QIcon::Normal);
  }
  return icon;
}

}  // namespace tal

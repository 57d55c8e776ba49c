#include "shell/DiagramFit.h"

namespace tal {

QSize FitDiagramClient(QPoint clientTopLeft, QSize currentClient, QSize picture, QSize screen) {
  QSize fitted = currentClient;
  if (clientTopLeft.x() + picture.width() < screen.width()) fitted.setWidth(picture.width() + 2);
  if (clientTopLeft.y() + picture.height() < screen.height()) fitted.setHeight(picture.height() + 2);
  return fitted;
}

}  // namespace tal

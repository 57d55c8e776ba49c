#pragma once
// How a diagram window fits itself to a bitmap when it opens.
#include <QPoint>
#include <QSize>

namespace tal {

// The client size a diagram window takes for a picture: 2 pixels wider and higher than the
// picture, each direction on its own and only where the client area, from its edge on the screen,
// would still fit (left edge + picture width < screen width; top edge + picture height < screen
// height). A direction that would not fit keeps the current size.
QSize FitDiagramClient(QPoint clientTopLeft, QSize currentClient, QSize picture, QSize screen);

}  // namespace tal

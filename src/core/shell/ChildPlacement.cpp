#include "shell/ChildPlacement.h"

#include <algorithm>

namespace tal {

QRect PlaceInsideWorkspace(const QRect& proposed, const QSize& workspace, int cascadeIndex, int step) {
  const QRect area(QPoint(0, 0), workspace);
  if (workspace.isEmpty() || area.contains(proposed)) return proposed;
  const int width = std::min(proposed.width(), workspace.width());
  const int height = std::min(proposed.height(), workspace.height());
  // The cascade starts again at the top left when its next step would not leave room.
  const int roomX = workspace.width() - width, roomY = workspace.height() - height;
  const int steps = std::max(1, std::min(roomX, roomY) / std::max(step, 1) + 1);
  const int offset = (std::max(cascadeIndex, 0) % steps) * std::max(step, 1);
  return {std::min(offset, roomX), std::min(offset, roomY), width, height};
}

}  // namespace tal

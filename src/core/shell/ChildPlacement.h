#pragma once
// Where a new child window goes in the frame's workspace: wholly inside it. A window that its
// own placement keeps inside stays where it is; one that would run past an edge is cascaded from
// the workspace's top left and, when still too large, shrunk to fit.
#include <QRect>
#include <QSize>

namespace tal {

// `proposed`: the window's frame in workspace coordinates; `workspace`: the visible area;
// `cascadeIndex`: how many windows the workspace held before this one; `step`: the cascade's
// offset per window (a title bar's height).
QRect PlaceInsideWorkspace(const QRect& proposed, const QSize& workspace, int cascadeIndex, int step);

}  // namespace tal

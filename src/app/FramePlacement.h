#pragma once
// CFramePlacement: a window's stored placement (the main frame's "WindowPos",
// the controller's "ControllerPos") mapped to and from Qt geometry. The
// stored normal rectangle holds the frame's position (window decorations
// included) as its top-left and the client size as its extent; show command
// 3 means maximised, anything else normal. The mapping takes the screens'
// rectangles as given, so it is testable without a display. Used by
// CMainFrame and the view.
#include <vector>

#include <QPoint>
#include <QRect>
#include <QSize>

#include "settings/WindowPlacement.h"

class CFramePlacement {
public:
    // The rectangle the frame opens at: position raised to 0, size to the
    // frame's minimum, then pulled onto the nearest screen when it lies off
    // every screen (a monitor that is gone, a changed arrangement).
    static QRect OpeningRect(const CWindowPlacement& placement, const std::vector<QRect>& screens);
    static bool OpensMaximised(const CWindowPlacement& placement);

    // The placement to store for a frame at framePos with clientSize (its
    // normal geometry when maximised).
    static CWindowPlacement FromFrame(QPoint framePos, QSize clientSize, bool maximised);

    // rect itself when it meets a screen (or there is none); else moved onto
    // the screen nearest to it, as far inside as its size allows.
    static QRect PullOntoScreens(const QRect& rect, const std::vector<QRect>& screens);

    // Where a window of fixed size (the controller) opens: the stored
    // position raised to 0, then pulled onto the nearest screen.
    static QPoint OpeningPos(const CWindowPlacement& placement, QSize size, const std::vector<QRect>& screens);
    // The screens' available rectangles now.
    static std::vector<QRect> Screens();
};

#include "app/FramePlacement.h"

#include <algorithm>
#include <limits>

#include <QGuiApplication>
#include <QScreen>

#include "app/AppDefs.h"

namespace {

// Squared distance between two rectangles (0 when they meet).
long long Distance2(const QRect& a, const QRect& b) {
    const long long dx = std::max({0LL, (long long)b.left() - a.right(), (long long)a.left() - b.right()});
    const long long dy = std::max({0LL, (long long)b.top() - a.bottom(), (long long)a.top() - b.bottom()});
    return dx * dx + dy * dy;
}

// start moved so that [start, start + length) lies inside [lo, lo + span)
// as far as length allows; the leading edge wins when it cannot fit.
int Clamp(int start, int length, int lo, int span) {
    return std::max(lo, std::min(start, lo + span - length));
}

}  // namespace

QRect CFramePlacement::OpeningRect(const CWindowPlacement& p, const std::vector<QRect>& screens) {
    // Wide arithmetic: a damaged value may hold any 32-bit numbers.
    const long long x = std::max<long long>(p.left, 0);
    const long long y = std::max<long long>(p.top, 0);
    const long long width = std::clamp<long long>((long long)p.right - x, FRAME_MIN_WIDTH, 1 << 16);
    const long long height = std::clamp<long long>((long long)p.bottom - y, FRAME_MIN_HEIGHT, 1 << 16);
    const int limit = std::numeric_limits<int>::max() - (1 << 16);
    QRect rect(int(std::min<long long>(x, limit)), int(std::min<long long>(y, limit)), int(width), int(height));
    return PullOntoScreens(rect, screens);
}

QPoint CFramePlacement::OpeningPos(const CWindowPlacement& p, QSize size, const std::vector<QRect>& screens) {
    const int limit = std::numeric_limits<int>::max() - (1 << 16);
    const QRect rect(std::clamp(p.left, 0, limit), std::clamp(p.top, 0, limit), size.width(), size.height());
    return PullOntoScreens(rect, screens).topLeft();
}

std::vector<QRect> CFramePlacement::Screens() {
    std::vector<QRect> rects;
    for (QScreen* screen : QGuiApplication::screens())
        rects.push_back(screen->availableGeometry());
    return rects;
}

bool CFramePlacement::OpensMaximised(const CWindowPlacement& p) { return p.showCmd == SW_SHOWMAXIMIZED; }

CWindowPlacement CFramePlacement::FromFrame(QPoint framePos, QSize clientSize, bool maximised) {
    CWindowPlacement p;
    p.length = PLACEMENT_SIZE;
    p.showCmd = maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    // No minimised or maximised position is ever set apart: -1 as the
    // stored layout has always said "none".
    p.minX = p.minY = p.maxX = p.maxY = -1;
    p.left = framePos.x();
    p.top = framePos.y();
    p.right = framePos.x() + clientSize.width();
    p.bottom = framePos.y() + clientSize.height();
    return p;
}

QRect CFramePlacement::PullOntoScreens(const QRect& rect, const std::vector<QRect>& screens) {
    const QRect* nearest = nullptr;
    long long best = std::numeric_limits<long long>::max();
    for (const QRect& screen : screens) {
        if (screen.intersects(rect))
            return rect;
        const long long d = Distance2(rect, screen);
        if (d < best) {
            best = d;
            nearest = &screen;
        }
    }
    if (!nearest)
        return rect;
    return QRect(Clamp(rect.x(), rect.width(), nearest->x(), nearest->width()),
                 Clamp(rect.y(), rect.height(), nearest->y(), nearest->height()), rect.width(), rect.height());
}

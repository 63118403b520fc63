#include "ui/ListIcons.h"

#include <functional>

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "comm/CommDefs.h"
#include "platform/ResourceText.h"
#include "ui/UiDefs.h"

namespace {

using Painter = std::function<void(QPainter&)>;

// One pixmap per scale, each painted in the icon's own logical size.
QIcon PaintedIcon(int size, const Painter& paint) {
    QIcon icon;
    for (qreal scale : {1.0, 2.0}) {
        QPixmap pixmap(QSize(size, size) * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        paint(painter);
        painter.end();
        // The selected row shows the icon as it is: a tinted icon would
        // lose its colour on the highlight.
        icon.addPixmap(pixmap, QIcon::Normal);
        icon.addPixmap(pixmap, QIcon::Selected);
    }
    return icon;
}

QPen Outline(const QColor& colour, qreal width = 1.0) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A lit lamp: a full green disc.
void PaintOn(QPainter& p) {
    p.setPen(Outline(QColor(0x1b, 0x5e, 0x20)));
    p.setBrush(QColor(0x2e, 0xa0, 0x43));
    p.drawEllipse(QRectF(2, 2, 14, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 150));
    p.drawEllipse(QRectF(5, 4.5, 5, 4));
}

// Sleeping: an amber crescent.
void PaintStandby(QPainter& p) {
    QPainterPath moon;
    moon.addEllipse(QRectF(2, 2, 14, 14));
    QPainterPath bite;
    bite.addEllipse(QRectF(7, 0, 12, 12));
    p.setPen(Outline(QColor(0x8a, 0x5a, 0x00)));
    p.setBrush(QColor(0xf2, 0xa9, 0x00));
    p.drawPath(moon.subtracted(bite));
}

// A warning: a red triangle with an exclamation mark.
void PaintError(QPainter& p) {
    const QPolygonF triangle({QPointF(9, 1.5), QPointF(17, 16), QPointF(1, 16)});
    p.setPen(Outline(QColor(0x8e, 0x0e, 0x0e)));
    p.setBrush(QColor(0xe5, 0x39, 0x35));
    p.drawPolygon(triangle);
    p.setPen(Outline(Qt::white, 2.0));
    p.drawLine(QPointF(9, 6.5), QPointF(9, 10.5));
    p.drawPoint(QPointF(9, 13.5));
}

// Talking to the board: two blue arrows, one each way, on a white halo so
// they stay visible on the blue selection.
void PaintBusy(QPainter& p) {
    QPainterPath arrows;
    arrows.moveTo(2.5, 6);
    arrows.lineTo(14.5, 6);
    arrows.moveTo(11, 2.5);
    arrows.lineTo(14.5, 6);
    arrows.lineTo(11, 9.5);
    arrows.moveTo(15.5, 12.5);
    arrows.lineTo(3.5, 12.5);
    arrows.moveTo(7, 9);
    arrows.lineTo(3.5, 12.5);
    arrows.lineTo(7, 16);
    p.setBrush(Qt::NoBrush);
    p.setPen(Outline(Qt::white, 4.0));
    p.drawPath(arrows);
    p.setPen(Outline(QColor(0x15, 0x65, 0xc0), 2.0));
    p.drawPath(arrows);
}

// No connection: a dark red square with a white cross.
void PaintConnectionError(QPainter& p) {
    p.setPen(Outline(QColor(0x4a, 0x00, 0x10)));
    p.setBrush(QColor(0x9c, 0x1a, 0x3c));
    p.drawRoundedRect(QRectF(2, 2, 14, 14), 2.5, 2.5);
    p.setPen(Outline(Qt::white, 2.0));
    p.drawLine(QPointF(6, 6), QPointF(12, 12));
    p.drawLine(QPointF(12, 6), QPointF(6, 12));
}

// Not known yet: a grey ring with a question mark.
void PaintUnknown(QPainter& p) {
    p.setPen(Outline(QColor(0x75, 0x75, 0x75), 1.5));
    p.setBrush(QColor(0xf2, 0xf2, 0xf2));
    p.drawEllipse(QRectF(2, 2, 14, 14));
    QPainterPath hook;
    hook.moveTo(6.5, 7);
    hook.cubicTo(6.5, 4, 11.5, 4, 11.5, 7);
    hook.cubicTo(11.5, 9, 9, 9, 9, 11);
    p.setPen(Outline(QColor(0x55, 0x55, 0x55), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawPath(hook);
    p.drawPoint(QPointF(9, 13.5));
}

void PaintMarker(QPainter& p, bool descending) {
    const qreal top = 3.5, bottom = 8.5;
    const QPolygonF up({QPointF(6, top), QPointF(10, bottom), QPointF(2, bottom)});
    const QPolygonF down({QPointF(2, top), QPointF(10, top), QPointF(6, bottom)});
    p.setPen(Outline(QColor(0x40, 0x40, 0x40)));
    p.setBrush(QColor(0x40, 0x40, 0x40));
    p.drawPolygon(descending ? down : up);
}

}  // namespace

CListIcons::CListIcons() {
    // Indexed by the record's display state.
    static_assert(DISPLAY_ON == 0 && DISPLAY_STANDBY == 1 && DISPLAY_ERROR == 2 && DISPLAY_BUSY == 3 &&
                  DISPLAY_CONNECTION_ERROR == 4 && DISPLAY_UNKNOWN == 5);
    const Painter painters[ROW_ICON_COUNT] = {PaintOn, PaintStandby, PaintError, PaintBusy, PaintConnectionError,
                                              PaintUnknown};
    for (int state = 0; state < ROW_ICON_COUNT; ++state)
        m_rows[state] = PaintedIcon(ROW_ICON_SIZE, painters[state]);
    for (bool descending : {false, true})
        m_markers[descending] = PaintedIcon(SORT_MARKER_SIZE, [=](QPainter& p) { PaintMarker(p, descending); });
}

const QIcon& CListIcons::Row(int displayState) const {
    return m_rows[displayState >= 0 && displayState < ROW_ICON_COUNT ? displayState : DISPLAY_UNKNOWN];
}

const QIcon& CListIcons::SortMarker(bool descending) const { return m_markers[descending ? 1 : 0]; }

QString CListIcons::StateText(int displayState) {
    if (displayState < 0 || displayState >= ROW_ICON_COUNT)
        displayState = DISPLAY_UNKNOWN;
    return QString::fromStdString(ResourceText(IDS_ROW_STATE_FIRST + displayState));
}

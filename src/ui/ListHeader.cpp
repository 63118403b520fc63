#include "ui/ListHeader.h"

#include <QPainter>
#include <QStyleOptionHeaderV2>

#include "ui/ListIcons.h"

namespace {
constexpr int kMarkerGap = 3;
// Text widths are rounded to whole pixels; this keeps a caption that just
// fits from being elided.
constexpr int kRoundingRoom = 2;
}

CListHeader::CListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

int CListHeader::SectionWidthFor(const QString& caption) const {
    QStyleOptionHeaderV2 option;
    initStyleOption(&option);
    const int sample = 1000;
    option.rect = QRect(0, 0, sample, height() > 0 ? height() : sizeHint().height());
    const int labelWidth = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this).width();
    const int inset = sample - labelWidth;
    return inset + SORT_MARKER_SIZE + kMarkerGap + option.fontMetrics.horizontalAdvance(caption) + kRoundingRoom;
}

void CListHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid())
        return;
    QStyleOptionHeaderV2 option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    const QIcon marker = option.icon;
    option.icon = QIcon();
    option.sortIndicator = QStyleOptionHeader::None;
    style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);

    QStyleOptionHeaderV2 label = option;
    label.rect = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    if (!marker.isNull()) {
        const QRect area = label.rect;
        const QRect markerRect(area.right() - SORT_MARKER_SIZE + 1, rect.center().y() - SORT_MARKER_SIZE / 2,
                               SORT_MARKER_SIZE, SORT_MARKER_SIZE);
        label.rect = QStyle::visualRect(option.direction, area,
                                        area.adjusted(0, 0, -(SORT_MARKER_SIZE + kMarkerGap), 0));
        marker.paint(painter, QStyle::visualRect(option.direction, area, markerRect));
        // Elided again for the narrower room, from the whole caption.
        const QString caption = model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString();
        label.text = option.fontMetrics.elidedText(caption, textElideMode(), label.rect.width());
    }
    style()->drawControl(QStyle::CE_HeaderLabel, &label, painter, this);
}

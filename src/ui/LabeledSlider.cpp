#include "ui/LabeledSlider.h"

#include <algorithm>
#include <utility>

#include <QPainter>
#include <QStyleOptionSlider>

namespace {
// Room between the ticks and the labels.
constexpr int kLabelGap = 1;
}  // namespace

CLabeledSlider::CLabeledSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::TicksBelow);
}

int CLabeledSlider::LabelHeight() const { return fontMetrics().height() + kLabelGap; }

QSize CLabeledSlider::sizeHint() const { return QSlider::sizeHint() + QSize(0, LabelHeight()); }

QSize CLabeledSlider::minimumSizeHint() const { return QSlider::minimumSizeHint() + QSize(0, LabelHeight()); }

void CLabeledSlider::initStyleOption(QStyleOptionSlider* option) const {
    QSlider::initStyleOption(option);
    option->rect = rect().adjusted(0, 0, 0, -LabelHeight());
}

QRect CLabeledSlider::TrackRect() const {
    QStyleOptionSlider option;
    initStyleOption(&option);
    return style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
}

// A label centred under its end of the track, pulled inside the widget when
// it is wider than the room beside the end.
QRect CLabeledSlider::LabelRect(int value, bool atLeft) const {
    const QFontMetrics metrics = fontMetrics();
    const QString text = QString::number(value);
    const int width = metrics.horizontalAdvance(text) + 2;
    const QRect track = TrackRect();
    QStyleOptionSlider option;
    initStyleOption(&option);
    const int handle = style()->pixelMetric(QStyle::PM_SliderLength, &option, this);
    const int centre = atLeft ? track.left() + handle / 2 : track.right() - handle / 2;
    int left = std::clamp(centre - width / 2, 0, std::max(0, this->width() - width));
    return QRect(left, height() - LabelHeight() + kLabelGap, width, metrics.height());
}

QRect CLabeledSlider::MinimumLabelRect() const { return LabelRect(minimum(), true); }

QRect CLabeledSlider::MaximumLabelRect() const { return LabelRect(maximum(), false); }

void CLabeledSlider::paintEvent(QPaintEvent* event) {
    QSlider::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    for (const auto& [where, value] : {std::pair{MinimumLabelRect(), minimum()}, std::pair{MaximumLabelRect(), maximum()}}) {
        painter.fillRect(where, palette().color(QPalette::Button));
        painter.drawText(where, Qt::AlignCenter, QString::number(value));
    }
}

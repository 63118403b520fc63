#include "ui/UiText.h"

#include "platform/ResourceText.h"

namespace {
constexpr QChar kFullWidthColon(0xFF1A);
}

QString UiText(int id) { return QString::fromStdString(ResourceText(id)); }

QString LabelName(QString label) {
    while (label.endsWith(kFullWidthColon) || label.endsWith(QLatin1Char(':')))
        label.chop(1);
    return label;
}

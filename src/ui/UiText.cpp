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

QString PlainLabel(QString text) {
    text = text.section(QLatin1Char('\t'), 0, 0);
    const qsizetype mark = text.indexOf(QLatin1String("(&"));
    if (mark >= 0 && text.endsWith(QLatin1Char(')')))
        text.truncate(mark);
    return text.remove(QLatin1Char('&')).trimmed();
}

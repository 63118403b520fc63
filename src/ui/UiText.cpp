#include "ui/UiText.h"

#include "platform/ResourceText.h"

QString UiText(int id) { return QString::fromStdString(ResourceText(id)); }

QString PlainLabel(QString text) {
    text = text.section(QLatin1Char('\t'), 0, 0);
    const qsizetype mark = text.indexOf(QLatin1String("(&"));
    if (mark >= 0 && text.endsWith(QLatin1Char(')')))
        text.truncate(mark);
    return text.remove(QLatin1Char('&')).trimmed();
}

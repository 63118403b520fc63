#include "ui/UiFont.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/ResourceText.h"
#include "settings/TextTools.h"
#include "ui/UiDefs.h"

bool MakeUiFont(QFont& font) {
    if (!QGuiApplication::primaryScreen())
        return false;
    font = QFont(QString::fromStdString(ResourceText(IDS_UI_FONT_FACE)));
    const int points = LeadingInt(ResourceText(IDS_UI_FONT_POINTS));
    if (points > 0)
        font.setPointSize(points);
    return true;
}

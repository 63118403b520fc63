#include "ui/UiFont.h"

#include <QGuiApplication>
#include <QScreen>

#include "platform/ResourceText.h"
#include "settings/TextTools.h"
#include "ui/UiDefs.h"

namespace {
// Beyond this a damaged bundle would make the tabs and dialogs unusable.
constexpr int kMaxPoints = 72;
}

bool MakeUiFont(QFont& font, int pixelHeight) {
    if (!QGuiApplication::primaryScreen())
        return false;
    QFont made(QString::fromStdString(ResourceText(IDS_UI_FONT_FACE)));
    made.setWeight(QFont::Normal);
    const int points = LeadingInt(ResourceText(IDS_UI_FONT_POINTS));
    if (pixelHeight > 0)
        made.setPixelSize(pixelHeight);
    else if (points > 0 && points <= kMaxPoints)
        made.setPointSize(points);
    font = made;
    return true;
}

#include "ui/DialogButtons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include "ui/SettingDialogTexts.h"
#include "ui/UiText.h"

namespace {

void Label(QPushButton* button, int textId) {
    if (!button)
        return;
    button->setText(UiText(textId));
    button->setAccessibleName(PlainLabel(UiText(textId)));
}

}  // namespace

QDialogButtonBox* MakeDialogButtons(QDialog* dialog, bool withApply) {
    QDialogButtonBox::StandardButtons which = QDialogButtonBox::Ok | QDialogButtonBox::Cancel;
    if (withApply)
        which |= QDialogButtonBox::Apply;
    auto* buttons = new QDialogButtonBox(which, dialog);
    Label(buttons->button(QDialogButtonBox::Ok), IDS_BUTTON_OK);
    Label(buttons->button(QDialogButtonBox::Cancel), IDS_BUTTON_CANCEL);
    Label(buttons->button(QDialogButtonBox::Apply), IDS_BUTTON_APPLY);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

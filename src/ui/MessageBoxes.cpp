#include "ui/MessageBoxes.h"

#include <QMessageBox>
#include <QPushButton>

#include "ui/SettingDialogTexts.h"
#include "ui/UiDefs.h"
#include "ui/UiText.h"

void ShowStopMessage(QWidget* parent, const std::string& text) {
    QMessageBox box(QMessageBox::Critical, UiText(IDS_APP_TITLE), QString::fromStdString(text), QMessageBox::Ok,
                    parent);
    box.exec();
}

bool ConfirmDelete(QWidget* parent, int questionId) {
    QMessageBox box(QMessageBox::Question, UiText(IDS_DELETE_CAPTION), UiText(questionId),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(UiText(IDS_BUTTON_YES));
    box.button(QMessageBox::No)->setText(UiText(IDS_BUTTON_NO));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

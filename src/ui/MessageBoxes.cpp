#include "ui/MessageBoxes.h"

#include <QMessageBox>

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
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

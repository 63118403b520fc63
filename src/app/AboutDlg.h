#pragma once
// CAboutDlg: the about box, the program's name and version and an OK button.
// Shown modally by the frame's about command; owned by that call.
#include <QDialog>

class CAboutDlg : public QDialog {
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

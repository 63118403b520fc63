#pragma once
// CAlertSetting: the alert settings dialog. It edits a copy of the alert
// settings: which error kinds raise a caution box, whether the error log is
// kept and where. OK refuses to switch logging on for a path that does not
// open for writing. It also shows how many log lines could not be written
// since the console started. Made and run modally by the main view, which
// takes the copy back on OK.
#include <array>
#include <functional>

#include <QDialog>

#include "settings/AlertSetInfo.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

class CAlertSetting : public QDialog {
public:
    CAlertSetting(const CAlertSetInfo& settings, int lostLogLines, QWidget* parent = nullptr);

    // The edited copy; holds the dialog's entries once OK has succeeded.
    const CAlertSetInfo& Settings() const { return m_settings; }

    // Where a refusal goes; by default a message box with the stop icon.
    void SetMessageSink(std::function<void(const QString&)> sink) { m_messageSink = std::move(sink); }
    // The save-as dialog: given the starting name, the chosen path or "".
    void SetFileChooser(std::function<QString(const QString&)> chooser) { m_fileChooser = std::move(chooser); }

    // The browse button's starting name: the path as typed, or else the
    // documents folder's "logfile.txt" ("" without that folder).
    static QString BrowseStartName(const QString& typed);

    void accept() override;
    void Browse();

    QCheckBox* KindBox(int kind) const { return m_kinds[static_cast<size_t>(kind)]; }
    QCheckBox* LoggingBox() const { return m_logging; }
    QLineEdit* PathEdit() const { return m_path; }
    QPushButton* BrowseButton() const { return m_browse; }
    QLabel* LostLinesLabel() const { return m_lost; }
    // The etched frame round the log controls, in the dialog's coordinates.
    QRect LogFrameRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void BuildControls(int lostLogLines);
    void UpdateEnabling();
    void Refuse();
    QString ChooseFile(const QString& start);

    CAlertSetInfo m_settings;
    std::array<QCheckBox*, ERROR_KIND_COUNT> m_kinds{};
    QCheckBox* m_logging = nullptr;
    QLabel* m_fileLabel = nullptr;
    QLineEdit* m_path = nullptr;
    QPushButton* m_browse = nullptr;
    QLabel* m_lost = nullptr;
    std::function<void(const QString&)> m_messageSink;
    std::function<QString(const QString&)> m_fileChooser;
};

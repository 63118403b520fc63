#pragma once
// CCautionDialog: the caution box naming one error condition (not the
// projector): a heading, the warning icon, the condition in words, and OK.
// It stays above every other window and opens centred over the main window,
// or over the screen while that is hidden or minimised. Made and run
// modally by an alert pop-up, on the UI thread.
#include <QDialog>
#include <QFont>

class QLabel;

class CCautionDialog : public QDialog {
public:
    // bit: one of the ALERT_BIT_* values. owner: the main window (may be
    // null). headingFont: the user-interface font at 16 pixels.
    CCautionDialog(int bit, QWidget* owner, const QFont& headingFont);

    int Bit() const { return m_bit; }
    QString HeadingText() const;
    QString MessageText() const;

    // Where a box of size opens: centred over owner while it is shown and
    // not minimised, else centred on the screen.
    static QRect OpeningRect(const QSize& size, const QWidget* owner);

protected:
    void showEvent(QShowEvent* event) override;

private:
    int m_bit;
    QLabel* m_heading;
    QLabel* m_message;
};

#pragma once
// CControllerWnd: the floating controller, a tool window of fixed size owned
// by the main window, with the 23 buttons that power projectors on or to
// standby, select inputs, switch the muting functions and open a projector's
// web page. It acts on nothing itself: each button posts its message to the
// view, which sends the command to the current target (the selected
// projector, else the selected tab's group); the caption names that target.
// Its close box destroys it (after Closing, so that its placement can be
// kept). Made and destroyed by the view; UI thread only.
#include <vector>

#include <QPointer>
#include <QWidget>

#include "platform/MsgWnd.h"

class CGroupItem;
class CMyButton;
class CProjectorInfo;

class CControllerWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWidth = 620;
    static constexpr int kHeight = 167;

    // view receives the buttons' messages and answers WM_CTRL_GET_TARGET;
    // owner is the main window.
    CControllerWnd(TMsgWnd<QWidget>* view, QWidget* owner);

    // The caption names record ("name(address)"), else group, else the All
    // group; the web-page button is usable only for a single projector.
    void SetTarget(const CProjectorInfo* record, const CGroupItem* group);
    // Asks the view for the current target and shows it.
    void AskTarget();

    CMyButton* Button(int i) const;
    // Button i (0..22) and row label j (0..5) in client pixels.
    static QRect ButtonRect(int i);
    static QRect LabelRect(int j);

signals:
    // The close box was used: the window is destroyed next.
    void Closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void AddLabels();
    void AddButtons();

    QPointer<TMsgWnd<QWidget>> m_view;
    std::vector<CMyButton*> m_buttons;
};

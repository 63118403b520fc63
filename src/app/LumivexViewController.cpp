// The view's side of the controller: showing and hiding it and its stored
// place, its target (the selected projector, else the selected tab's group),
// the control commands of its buttons and the web-page button, and the
// list's and tabs' selection, double-click and Enter.
#include <algorithm>

#include <QDialog>
#include <QKeyEvent>
#include <QProcess>

#include "app/AppDefs.h"
#include "app/FramePlacement.h"
#include "app/LumivexView.h"
#include "comm/CommDefs.h"
#include "comm/CommWnd.h"
#include "platform/Ipv4Address.h"
#include "settings/GeneralSetInfo.h"
#include "settings/Value.h"
#include "ui/ControllerWnd.h"
#include "ui/ItemListArea.h"
#include "ui/MyTabCtrl.h"

CControllerWnd* CLumivexView::Controller() const { return m_controller; }

bool CLumivexView::ControllerExists() const { return m_controller != nullptr; }

bool CLumivexView::ControllerVisible() const { return m_controller && m_controller->isVisible(); }

void CLumivexView::ShowController(bool show) {
    if (!show) {
        if (m_controller)
            m_controller->hide();
        return;
    }
    if (m_controller) {
        m_controller->show();
        return;
    }
    if (m_shutDown)
        return;
    m_controller = new CControllerWnd(this, window());
    CWindowPlacement placement;
    if (CValue().GetPlacement(PLACEMENT_CONTROLLER, placement) == 0)
        m_controller->move(CFramePlacement::OpeningPos(placement, m_controller->size(), CFramePlacement::Screens()));
    else
        m_controller->move(0, 0);
    connect(m_controller, &CControllerWnd::Closing, this, &CLumivexView::OnControllerClosing);
    m_controller->AskTarget();
    m_controller->show();
}

// The close box: the window goes at once as far as the view is concerned,
// so the frame closing in the same moment records it as closed.
void CLumivexView::OnControllerClosing() {
    SaveControllerPlacement();
    m_controller = nullptr;
}

void CLumivexView::SaveControllerPlacement() {
    if (!m_controller || !m_groupsLoaded)
        return;
    CValue().SetPlacement(PLACEMENT_CONTROLLER,
                          CFramePlacement::FromFrame(m_controller->frameGeometry().topLeft(), m_controller->size(), false));
}

void CLumivexView::CloseOperatorWindows() {
    // A dialog still open (the console ends by a signal) returns from its
    // loop, and its caller finds the view shut down.
    for (QDialog* dialog : findChildren<QDialog*>())
        dialog->reject();
    SaveControllerPlacement();
    delete m_controller;
}

int CLumivexView::SelectedTabIndex() const {
    if (!m_tabs)
        return -1;
    return std::max(m_tabs->currentIndex(), 0);
}

void CLumivexView::CurrentTarget(CProjectorInfo*& record, CGroupItem*& group) const {
    record = SelectedRecord();
    group = GroupAt(SelectedTabIndex());
}

void CLumivexView::UpdateControllerTarget() {
    if (!m_controller)
        return;
    CProjectorInfo* record = nullptr;
    CGroupItem* group = nullptr;
    CurrentTarget(record, group);
    m_controller->SetTarget(record, group);
}

bool CLumivexView::IsControllerMessage(unsigned msg) {
    return (msg >= WM_CTRL_BUTTON_FIRST && msg < WM_CTRL_BUTTON_FIRST + CTRL_BUTTON_COUNT) ||
           msg == WM_CTRL_GET_TARGET || msg == WM_LIST_SELCHANGED || msg == WM_LIST_DBLCLK || msg == WM_TAB_DBLCLK;
}

LRESULT CLumivexView::OnControllerMessage(unsigned msg, WPARAM wParam, LPARAM lParam) {
    if (m_shutDown)
        return 0;
    switch (msg) {
    case WM_CTRL_GET_TARGET: {
        CProjectorInfo* record = nullptr;
        CGroupItem* group = nullptr;
        CurrentTarget(record, group);
        if (auto* out = reinterpret_cast<CProjectorInfo**>(wParam))
            *out = record;
        if (auto* out = reinterpret_cast<CGroupItem**>(lParam))
            *out = group;
        break;
    }
    case WM_LIST_SELCHANGED:
        UpdateControllerTarget();
        break;
    case WM_LIST_DBLCLK:
        if (!ControllerVisible())
            ShowController(true);
        UpdateControllerTarget();
        break;
    case WM_TAB_DBLCLK:
        if (!ControllerVisible())
            ShowController(true);
        if (m_list)
            m_list->ClearSelection();
        UpdateControllerTarget();
        break;
    default:
        OnControlButton(int(msg - WM_CTRL_BUTTON_FIRST));
        break;
    }
    return 0;
}

int CLumivexView::ControlIndexOfButton(int button) {
    // The window shows the pair that switches both functions above the LNST
    // pair; the command table has them the other way round.
    switch (button) {
    case 18: return CONTROL_IMBK_MUTE_ON;
    case 19: return CONTROL_IMBK_MUTE_OFF;
    case 20: return CONTROL_LNST_ON;
    case 21: return CONTROL_LNST_OFF;
    default: return button >= 0 && button < 18 ? button : -1;
    }
}

void CLumivexView::OnControlButton(int button) {
    if (!m_list || !m_engine)
        return;
    if (button == CTRL_BUTTON_WEB_PAGE) {
        OpenWebPage();
        return;
    }
    const int index = ControlIndexOfButton(button);
    if (index < 0)
        return;
    CProjectorInfo* record = nullptr;
    CGroupItem* group = nullptr;
    CurrentTarget(record, group);
    // A refused command (one is still pending for the projector) shows in
    // nothing but the projector's state.
    m_engine->SendCommand(record ? nullptr : group, record, index);
}

std::string CLumivexView::WebPageUrl(const std::string& ipText) {
    // The text comes from the store or a board and goes to another program:
    // only a plain address makes a web address.
    return IsIPv4Address(ipText) ? "http://" + ipText + "/" : std::string();
}

void CLumivexView::OpenWebPage() {
    const CProjectorInfo* record = SelectedRecord();
    if (!record || !m_general || m_general->browserPath.empty())
        return;
    const std::string url = WebPageUrl(record->ipAddress);
    if (url.empty())
        return;
    // The program itself with the address as its one argument: no shell
    // ever reads either. A browser that cannot start is not reported.
    QProcess::startDetached(QString::fromStdString(m_general->browserPath), {QString::fromStdString(url)});
}

void CLumivexView::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || m_shutDown || !SelectedRecord()) {
        TMsgWnd<QWidget>::keyPressEvent(event);
        return;
    }
    if (!ControllerVisible())
        ShowController(true);
    UpdateControllerTarget();
    event->accept();
}

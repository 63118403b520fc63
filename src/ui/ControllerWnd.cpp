#include "ui/ControllerWnd.h"

#include <QCloseEvent>
#include <QLabel>

#include "comm/ProjectorInfo.h"
#include "settings/GroupItem.h"
#include "ui/MyButton.h"
#include "ui/UiDefs.h"
#include "ui/UiFont.h"
#include "ui/UiText.h"

namespace {

struct Rect {
    int left, top, right, bottom;
};

// Client pixels of the buttons, in control id order.
constexpr Rect kButtonRects[CTRL_BUTTON_COUNT] = {
    {65, 10, 138, 31},   {145, 10, 218, 31},  {65, 36, 138, 57},   {145, 36, 218, 57},  {226, 36, 299, 57},
    {65, 62, 138, 83},   {145, 62, 218, 83},  {226, 62, 299, 83},  {65, 88, 138, 109},  {145, 88, 218, 109},
    {226, 88, 299, 109}, {65, 114, 138, 135}, {145, 114, 218, 135}, {226, 114, 299, 135}, {446, 10, 520, 31},
    {527, 10, 601, 31},  {446, 36, 520, 57},  {527, 36, 601, 57},  {446, 62, 520, 83},  {527, 62, 601, 83},
    {446, 88, 520, 109}, {527, 88, 601, 109}, {513, 114, 601, 135},
};

constexpr int kLabelCount = 6;
constexpr Rect kLabelRects[kLabelCount] = {
    {10, 13, 64, 31}, {10, 39, 64, 57}, {354, 13, 446, 31}, {354, 39, 446, 57}, {354, 65, 446, 83}, {354, 91, 446, 109},
};

QRect ToQRect(const Rect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

}  // namespace

CControllerWnd::CControllerWnd(TMsgWnd<QWidget>* view, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_view(view) {
    setObjectName(QStringLiteral("controller"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kWidth, kHeight);
    // The client area is button face, as the labels' background.
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    QFont font;
    if (MakeUiFont(font))
        setFont(font);
    AddLabels();
    AddButtons();
    SetTarget(nullptr, nullptr);
}

QRect CControllerWnd::ButtonRect(int i) { return i >= 0 && i < CTRL_BUTTON_COUNT ? ToQRect(kButtonRects[i]) : QRect(); }

QRect CControllerWnd::LabelRect(int j) { return j >= 0 && j < kLabelCount ? ToQRect(kLabelRects[j]) : QRect(); }

// The row labels are static text at the top left of their rectangles; as
// widgets they are also read out by assistive technology.
void CControllerWnd::AddLabels() {
    for (int j = 0; j < kLabelCount; ++j) {
        auto* label = new QLabel(UiText(IDS_CTRL_LABEL_FIRST + j), this);
        label->setObjectName(QStringLiteral("label%1").arg(IDS_CTRL_LABEL_FIRST + j));
        label->setAccessibleName(label->text());
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setContentsMargins(0, 0, 0, 0);
        label->setGeometry(LabelRect(j));
    }
}

void CControllerWnd::AddButtons() {
    for (int i = 0; i < CTRL_BUTTON_COUNT; ++i) {
        auto* button = new CMyButton(IDC_CTRL_BUTTON_FIRST + i, UiText(IDS_CTRL_BUTTON_FIRST + i), this);
        button->setGeometry(ButtonRect(i));
        connect(button, &QPushButton::clicked, this, [this, i] {
            if (m_view)
                ::PostMessage(m_view, WM_CTRL_BUTTON_FIRST + unsigned(i));
        });
        m_buttons.push_back(button);
    }
}

CMyButton* CControllerWnd::Button(int i) const {
    return i >= 0 && i < int(m_buttons.size()) ? m_buttons[std::size_t(i)] : nullptr;
}

void CControllerWnd::SetTarget(const CProjectorInfo* record, const CGroupItem* group) {
    m_buttons[CTRL_BUTTON_WEB_PAGE]->setEnabled(record != nullptr);
    QString target;
    if (record)
        target = QString::fromStdString(record->name + "(" + record->ipAddress + ")");
    else if (group)
        target = QString::fromStdString(group->Name());
    else
        target = UiText(IDS_ALL_GROUP);
    setWindowTitle(UiText(IDS_CONTROLLER) + QStringLiteral(" : ") + target);
}

void CControllerWnd::AskTarget() {
    if (!m_view)
        return;
    CProjectorInfo* record = nullptr;
    CGroupItem* group = nullptr;
    m_view->SendMessage(WM_CTRL_GET_TARGET, reinterpret_cast<WPARAM>(&record), reinterpret_cast<LPARAM>(&group));
    SetTarget(record, group);
}

void CControllerWnd::closeEvent(QCloseEvent* event) {
    emit Closing();
    event->accept();
}

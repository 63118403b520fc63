#include "alert/CautionDialog.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "alert/AlertCodes.h"
#include "alert/AlertDefs.h"
#include "platform/ResourceText.h"

namespace {

QString Text(int id) { return QString::fromStdString(ResourceText(id)); }

// The box's template is 238 x 93 dialog units: about this many pixels with
// the console's 9-point face.
constexpr int kWidth = 360;
constexpr int kIconSize = 32;

}  // namespace

CCautionDialog::CCautionDialog(int bit, QWidget* owner, const QFont& headingFont)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      m_bit(bit),
      m_heading(new QLabel(Text(AlertHeadingTextId(bit)), this)),
      m_message(new QLabel(Text(AlertMessageTextId(bit)), this)) {
    setWindowTitle(Text(IDS_ALERT_APP_TITLE));
    setAccessibleName(windowTitle());
    setAccessibleDescription(m_message->text());

    m_heading->setFont(headingFont);
    m_heading->setAlignment(Qt::AlignCenter);
    m_heading->setObjectName(QStringLiteral("cautionHeading"));
    m_heading->setAccessibleName(m_heading->text());

    auto* icon = new QLabel(this);
    const int iconExtent = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this)
                        .pixmap(iconExtent > 0 ? iconExtent : kIconSize));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    icon->setAccessibleName(m_heading->text());

    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_message->setObjectName(QStringLiteral("cautionMessage"));
    m_message->setAccessibleName(m_message->text());

    auto* ok = new QPushButton(Text(IDS_ALERT_CAUTION_OK), this);
    ok->setDefault(true);
    ok->setAccessibleName(ok->text());
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* body = new QHBoxLayout;
    body->addSpacing(8);
    body->addWidget(icon);
    body->addSpacing(12);
    body->addWidget(m_message, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 20, 12, 12);
    layout->addWidget(m_heading);
    layout->addSpacing(8);
    layout->addLayout(body, 1);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    setFixedWidth(kWidth);
}

QString CCautionDialog::HeadingText() const { return m_heading->text(); }

QString CCautionDialog::MessageText() const { return m_message->text(); }

QRect CCautionDialog::OpeningRect(const QSize& size, const QWidget* owner) {
    const QWidget* window = owner ? owner->window() : nullptr;
    QRect area;
    if (window && window->isVisible() && !window->isMinimized()) {
        area = window->frameGeometry();
    } else {
        const QScreen* screen = window ? window->screen() : QGuiApplication::primaryScreen();
        if (!screen)
            return QRect(QPoint(0, 0), size);
        area = screen->availableGeometry();
    }
    QRect rect(QPoint(0, 0), size);
    rect.moveCenter(area.center());
    return rect;
}

void CCautionDialog::showEvent(QShowEvent* event) {
    // Placed here rather than by the dialog's own centring, which does not
    // look at whether the main window is minimised.
    adjustSize();
    move(OpeningRect(frameGeometry().size(), parentWidget()).topLeft());
    QDialog::showEvent(event);
}

#include "alert/AlertSetting.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "alert/AlertDefs.h"
#include "alert/ErrorLog.h"
#include "mail/MailText.h"
#include "platform/ResourceText.h"
#include "settings/TextTools.h"

namespace {

QString Text(int id) { return QString::fromStdString(ResourceText(id)); }

// The frame's distance from the controls it surrounds, and the gap it leaves
// round the logging tick box that sits on its top edge.
constexpr int kFrameMargin = 16;
constexpr int kTickGap = 8;

QCheckBox* NamedCheckBox(const QString& text, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setAccessibleName(text);
    return box;
}

}  // namespace

CAlertSetting::CAlertSetting(const CAlertSetInfo& settings, int lostLogLines, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_settings(settings) {
    setWindowTitle(Text(IDS_ALERT_SETTING_CAPTION));
    setAccessibleName(windowTitle());
    BuildControls(lostLogLines);
    for (int kind = 0; kind < ERROR_KIND_COUNT; ++kind)
        m_kinds[static_cast<size_t>(kind)]->setChecked(m_settings.alertStatus[static_cast<size_t>(kind)] != 0);
    m_logging->setChecked(m_settings.errorLoging != 0);
    m_path->setText(QString::fromStdString(m_settings.errorLogFile));
    UpdateEnabling();
    connect(m_logging, &QCheckBox::clicked, this, [this] { UpdateEnabling(); });
    connect(m_browse, &QPushButton::clicked, this, [this] { Browse(); });
}

void CAlertSetting::BuildControls(int lostLogLines) {
    auto* kinds = new QGridLayout;
    kinds->setHorizontalSpacing(32);
    // Three to a column: temperature, fan, filter cover; lamp, communication, connection.
    for (int kind = 0; kind < ERROR_KIND_COUNT; ++kind) {
        m_kinds[static_cast<size_t>(kind)] = NamedCheckBox(Text(IDS_ALERT_SETTING_KIND_FIRST + kind), this);
        kinds->addWidget(m_kinds[static_cast<size_t>(kind)], kind % 3, kind / 3);
    }

    m_logging = NamedCheckBox(Text(IDS_ALERT_SETTING_LOGGING), this);
    m_fileLabel = new QLabel(Text(IDS_ALERT_SETTING_LOG_FILE), this);
    m_path = new QLineEdit(this);
    m_path->setMinimumWidth(260);
    m_path->setAccessibleName(m_fileLabel->text());
    m_fileLabel->setBuddy(m_path);
    m_browse = new QPushButton(Text(IDS_ALERT_SETTING_BROWSE), this);
    m_browse->setAccessibleName(m_browse->text());
    m_lost = new QLabel(
        QString::fromStdString(FormatResourceText(IDS_ALERT_SETTING_LOST, {std::to_string(lostLogLines)})), this);
    m_lost->setAccessibleName(m_lost->text());

    auto* tickRow = new QHBoxLayout;
    tickRow->addSpacing(kFrameMargin + kTickGap);
    tickRow->addWidget(m_logging);
    tickRow->addStretch(1);
    auto* fileRow = new QHBoxLayout;
    fileRow->setContentsMargins(2 * kFrameMargin, 4, 2 * kFrameMargin, kFrameMargin);
    fileRow->addWidget(m_fileLabel);
    fileRow->addWidget(m_path, 1);
    fileRow->addWidget(m_browse);

    auto* ok = new QPushButton(Text(IDS_ALERT_SETTING_OK), this);
    auto* cancel = new QPushButton(Text(IDS_ALERT_SETTING_CANCEL), this);
    ok->setDefault(true);
    ok->setAccessibleName(ok->text());
    cancel->setAccessibleName(cancel->text());
    connect(ok, &QPushButton::clicked, this, &CAlertSetting::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    auto* kindsIndent = new QHBoxLayout;
    kindsIndent->addSpacing(kFrameMargin);
    kindsIndent->addLayout(kinds);
    kindsIndent->addStretch(1);
    layout->addLayout(kindsIndent);
    layout->addSpacing(16);
    layout->addLayout(tickRow);
    layout->addLayout(fileRow);
    layout->addSpacing(8);
    layout->addWidget(m_lost);
    layout->addStretch(1);
    layout->addLayout(buttons);
}

void CAlertSetting::UpdateEnabling() {
    const bool on = m_logging->isChecked();
    m_path->setEnabled(on);
    m_browse->setEnabled(on);
}

QString CAlertSetting::BrowseStartName(const QString& typed) {
    if (!typed.isEmpty())
        return typed;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        return {};
    return QString::fromStdString(AppendPath(documents.toStdString(), ALERT_BROWSE_FILE_NAME));
}

QString CAlertSetting::ChooseFile(const QString& start) {
    if (m_fileChooser)
        return m_fileChooser(start);
    // No filter and no default extension; the dialog asks before replacing
    // a file and only offers folders that exist.
    return QFileDialog::getSaveFileName(this, QString(), start, QString(), nullptr,
                                        QFileDialog::DontUseNativeDialog);
}

void CAlertSetting::Browse() {
    const QString chosen = ChooseFile(BrowseStartName(m_path->text()));
    if (!chosen.isEmpty())
        m_path->setText(chosen);
}

void CAlertSetting::Refuse() {
    const QString text = Text(IDS_ALERT_INVALID_INPUT);
    if (m_messageSink) {
        m_messageSink(text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, Text(IDS_ALERT_APP_TITLE), text, QMessageBox::Ok, this);
    box.exec();
}

void CAlertSetting::accept() {
    const std::string path = m_path->text().toStdString();
    // Only a log being switched on must be writable; anything typed is kept
    // as it stands otherwise.
    if (m_logging->isChecked() && !CErrorLog::CanOpenForWriting(path)) {
        Refuse();
        return;
    }
    for (int kind = 0; kind < ERROR_KIND_COUNT; ++kind)
        m_settings.alertStatus[static_cast<size_t>(kind)] = m_kinds[static_cast<size_t>(kind)]->isChecked() ? 1 : 0;
    m_settings.errorLoging = m_logging->isChecked() ? 1 : 0;
    m_settings.errorLogFile = path;
    QDialog::accept();
}

QRect CAlertSetting::LogFrameRect() const {
    const int top = m_logging->geometry().center().y();
    const int left = m_fileLabel->geometry().left() - kFrameMargin;
    const int right = m_browse->geometry().right() + kFrameMargin;
    const int bottom = m_path->geometry().bottom() + kFrameMargin;
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void CAlertSetting::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter painter(this);
    // The tick box's text breaks the frame's top edge.
    const QRect gap = m_logging->geometry().adjusted(-kTickGap, -kTickGap, kTickGap, kTickGap);
    painter.setClipRegion(QRegion(rect()).subtracted(QRegion(gap)));
    // Etched: a dark line with a light one beside it, on all four sides.
    const QRect frame = LogFrameRect();
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(frame.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(frame.adjusted(1, 1, 0, 0));
}

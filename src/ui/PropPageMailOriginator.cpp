#include "ui/PropPageMailOriginator.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "platform/ResourceText.h"
#include "ui/UiDefs.h"

namespace {

QString Text(int id) { return QString::fromStdString(ResourceText(id)); }

// The label's text without its closing colon names the field it stands by.
void Label(QGridLayout* grid, int row, int textId, QWidget* field) {
    auto* label = new QLabel(Text(textId), field->parentWidget());
    label->setBuddy(field);
    QString name = label->text();
    name.remove(QChar(0xFF1A)).remove(QLatin1Char(':'));
    field->setAccessibleName(name);
    grid->addWidget(label, row, 0, Qt::AlignTop | Qt::AlignLeft);
    grid->addWidget(field, row, 1);
}

}  // namespace

CPropPageMailOriginator::CPropPageMailOriginator(const CMailOriginatorInfo& record, QWidget* parent)
    : CPropPage(Text(IDS_MAIL_PAGE_ORIGINATOR), parent),
      m_record(record),
      m_server(new QLineEdit(QString::fromStdString(record.server), this)),
      m_address(new QLineEdit(QString::fromStdString(record.senderAddress), this)),
      m_name(new QLineEdit(QString::fromStdString(record.senderName), this)),
      m_info(new QPlainTextEdit(QString::fromStdString(record.senderInfo), this)) {
    auto* grid = new QGridLayout(this);
    Label(grid, 0, IDS_MAIL_ORIGINATOR_LABEL_FIRST, m_server);
    Label(grid, 1, IDS_MAIL_ORIGINATOR_LABEL_FIRST + 1, m_address);
    Label(grid, 2, IDS_MAIL_ORIGINATOR_LABEL_FIRST + 2, m_name);
    Label(grid, 3, IDS_MAIL_ORIGINATOR_LABEL_FIRST + 3, m_info);
    grid->setColumnStretch(1, 1);
    m_info->setTabChangesFocus(true);
    for (QLineEdit* edit : {m_server, m_address, m_name})
        connect(edit, &QLineEdit::textEdited, this, [this] { SetModified(); });
    connect(m_info, &QPlainTextEdit::textChanged, this, [this] { SetModified(); });
}

bool CPropPageMailOriginator::OnApply() {
    m_record.server = m_server->text().toStdString();
    m_record.senderAddress = m_address->text().toStdString();
    m_record.senderName = m_name->text().toStdString();
    m_record.senderInfo = m_info->toPlainText().toStdString();
    return true;
}

#include "ui/GroupSetting.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include <QAbstractListModel>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QVBoxLayout>

#include "comm/ProjectorInfo.h"
#include "platform/ResourceText.h"
#include "ui/DialogButtons.h"
#include "ui/GroupNames.h"
#include "ui/MessageBoxes.h"
#include "ui/SettingDialogTexts.h"
#include "ui/UiDefs.h"
#include "ui/UiText.h"

// The rows of one of the dialog's lists: projector records, each shown as
// "name (address)". Changes come in batches (a whole selection moves at
// once), so a move costs one update of each list however many rows it takes.
class CProjectorPickModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void SetRecords(std::vector<CProjectorInfo*> records) {
        beginResetModel();
        m_records = std::move(records);
        endResetModel();
    }
    const std::vector<CProjectorInfo*>& Records() const { return m_records; }

    // Takes the rows out (any order, no repeats) and returns their records in
    // row order.
    std::vector<CProjectorInfo*> Take(std::vector<int> rows) {
        std::sort(rows.begin(), rows.end());
        std::vector<CProjectorInfo*> taken;
        std::vector<CProjectorInfo*> kept;
        kept.reserve(m_records.size());
        std::size_t next = 0;
        for (int row = 0; row < int(m_records.size()); ++row) {
            if (next < rows.size() && rows[next] == row) {
                taken.push_back(m_records[std::size_t(row)]);
                ++next;
            } else {
                kept.push_back(m_records[std::size_t(row)]);
            }
        }
        SetRecords(std::move(kept));
        return taken;
    }

    // Appends records at the end; the first new row's number.
    int Append(const std::vector<CProjectorInfo*>& records) {
        const int first = int(m_records.size());
        if (records.empty())
            return first;
        beginInsertRows({}, first, first + int(records.size()) - 1);
        m_records.insert(m_records.end(), records.begin(), records.end());
        endInsertRows();
        return first;
    }

    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : int(m_records.size()); }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= int(m_records.size()))
            return {};
        const CProjectorInfo* record = m_records[std::size_t(index.row())];
        return QStringLiteral("%1 (%2)").arg(QString::fromStdString(record->name),
                                             QString::fromStdString(record->ipAddress));
    }

private:
    std::vector<CProjectorInfo*> m_records;
};

namespace {

constexpr int kNameLength = 32;
constexpr int kListWidth = 240;
constexpr int kListHeight = 280;

QListView* MakeList(QAbstractItemModel* model, int nameId, QWidget* parent) {
    auto* list = new QListView(parent);
    list->setModel(model);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every row is one line of the same height: the list lays out a
    // thousand rows without measuring each.
    list->setUniformItemSizes(true);
    list->setMinimumSize(kListWidth, kListHeight);
    list->setAccessibleName(PlainLabel(UiText(nameId)));
    return list;
}

}  // namespace

CGroupSetting::CGroupSetting(const CGroupItem& source, const CGroupItem* edited, int serial, TMsgWnd<QWidget>* view,
                             QWidget* parent)
    : QDialog(parent),
      m_source(source),
      m_view(view),
      m_editing(edited != nullptr),
      m_all(new CProjectorPickModel(this)),
      m_members(new CProjectorPickModel(this)),
      m_name(new QLineEdit(this)),
      m_allList(MakeList(m_all, IDS_GROUP_DIALOG_ALL, this)),
      m_memberList(MakeList(m_members, IDS_GROUP_DIALOG_MEMBERS, this)),
      m_add(new QPushButton(UiText(IDS_GROUP_DIALOG_ADD), this)),
      m_remove(new QPushButton(UiText(IDS_GROUP_DIALOG_REMOVE), this)) {
    setWindowTitle(UiText(IDS_GROUP_DIALOG));
    BuildLayout();
    Fill(edited, serial);
    connect(m_name, &QLineEdit::textChanged, this, &CGroupSetting::UpdateButtons);
    for (QListView* list : {m_allList, m_memberList})
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, &CGroupSetting::UpdateButtons);
    connect(m_add, &QPushButton::clicked, this, &CGroupSetting::AddSelected);
    connect(m_remove, &QPushButton::clicked, this, &CGroupSetting::RemoveSelected);
    UpdateButtons();
}

CGroupSetting::~CGroupSetting() = default;

void CGroupSetting::BuildLayout() {
    m_name->setMaxLength(kNameLength);
    m_name->setAccessibleName(PlainLabel(UiText(IDS_GROUP_DIALOG_NAME)));
    m_add->setAccessibleName(PlainLabel(UiText(IDS_GROUP_DIALOG_ADD)));
    m_remove->setAccessibleName(PlainLabel(UiText(IDS_GROUP_DIALOG_REMOVE)));
    m_add->setAutoDefault(false);
    m_remove->setAutoDefault(false);
    auto* nameLabel = new QLabel(UiText(IDS_GROUP_DIALOG_NAME), this);
    nameLabel->setBuddy(m_name);

    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(m_add);
    moves->addWidget(m_remove);
    moves->addStretch(1);

    auto* lists = new QGridLayout;
    lists->addWidget(new QLabel(UiText(IDS_GROUP_DIALOG_ALL), this), 0, 0);
    lists->addWidget(new QLabel(UiText(IDS_GROUP_DIALOG_MEMBERS), this), 0, 2);
    lists->addWidget(m_allList, 1, 0);
    lists->addLayout(moves, 1, 1);
    lists->addWidget(m_memberList, 1, 2);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(m_name, 1);

    QDialogButtonBox* buttons = MakeDialogButtons(this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    connect(m_ok, &QPushButton::clicked, this, &CGroupSetting::OnOk);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(lists, 1);
    layout->addWidget(buttons);
}

void CGroupSetting::Fill(const CGroupItem* edited, int serial) {
    std::vector<CProjectorInfo*> members;
    if (edited) {
        m_openingName = edited->Name();
        m_name->setText(QString::fromStdString(m_openingName));
        for (int n = 0; CProjectorInfo* record = edited->GetAt(n); ++n)
            members.push_back(record);
    } else {
        m_name->setText(QString::fromStdString(AutomaticGroupName(ResourceText(IDS_GROUP_PREFIX), serial)));
    }
    const std::unordered_set<const CProjectorInfo*> inGroup(members.begin(), members.end());
    std::vector<CProjectorInfo*> offered;
    offered.reserve(std::size_t(m_source.GetCount()));
    for (int n = 0; CProjectorInfo* record = m_source.GetAt(n); ++n)
        if (!inGroup.count(record))
            offered.push_back(record);
    m_members->SetRecords(std::move(members));
    m_all->SetRecords(std::move(offered));
}

void CGroupSetting::UpdateButtons() {
    m_ok->setEnabled(!m_name->text().isEmpty() && m_source.GetCount() > 0);
    m_add->setEnabled(m_allList->selectionModel()->hasSelection());
    m_remove->setEnabled(m_memberList->selectionModel()->hasSelection());
}

void CGroupSetting::AddSelected() { Move(m_allList, m_all, m_memberList, m_members); }

void CGroupSetting::RemoveSelected() { Move(m_memberList, m_members, m_allList, m_all); }

void CGroupSetting::Move(QListView* from, CProjectorPickModel* fromModel, QListView* to,
                         CProjectorPickModel* toModel) {
    std::vector<int> rows;
    for (const QModelIndex& index : from->selectionModel()->selectedRows())
        rows.push_back(index.row());
    if (rows.empty())
        return;
    const std::vector<CProjectorInfo*> moved = fromModel->Take(std::move(rows));
    const int first = toModel->Append(moved);
    const QModelIndex top = toModel->index(first);
    const QModelIndex bottom = toModel->index(first + int(moved.size()) - 1);
    to->selectionModel()->select(QItemSelection(top, bottom), QItemSelectionModel::Select);
    to->scrollTo(bottom);
}

bool CGroupSetting::IsNameFree(const std::string& name) const {
    if (!m_view)
        return true;
    std::string proposed = name;
    int free = 0;
    m_view->SendMessage(WM_GROUP_NAME_FREE, reinterpret_cast<WPARAM>(&proposed), reinterpret_cast<LPARAM>(&free));
    return free == 1;
}

void CGroupSetting::OnOk() {
    const std::string name = m_name->text().toStdString();
    if (!(m_editing && name == m_openingName) && !IsNameFree(name)) {
        ShowStopMessage(this, ResourceText(IDS_GROUP_NAME_ERROR));
        m_name->setFocus();
        m_name->selectAll();
        return;
    }
    m_group.Clear();
    m_group.SetName(name);
    for (CProjectorInfo* record : m_members->Records())
        m_group.Add(record);
    accept();
}

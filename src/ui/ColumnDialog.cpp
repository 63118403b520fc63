#include "ui/ColumnDialog.h"

#include <algorithm>
#include <utility>

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "settings/TextTools.h"
#include "ui/DialogButtons.h"
#include "ui/ListColumns.h"
#include "ui/SettingDialogTexts.h"
#include "ui/UiText.h"

namespace {

// Widths above this would not be read back from the store.
constexpr int kMaxWidth = 9999;

QPushButton* MakeButton(int textId, QWidget* parent) {
    auto* button = new QPushButton(UiText(textId), parent);
    button->setAccessibleName(PlainLabel(UiText(textId)));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

CColumnDialog::CColumnDialog(const CViewItemInfoList& columns, QWidget* parent)
    : QDialog(parent),
      m_items(columns.Items()),
      m_list(new QListWidget(this)),
      m_width(new QLineEdit(this)),
      m_up(MakeButton(IDS_COLUMN_UP, this)),
      m_down(MakeButton(IDS_COLUMN_DOWN, this)),
      m_show(MakeButton(IDS_COLUMN_SHOW, this)),
      m_hide(MakeButton(IDS_COLUMN_HIDE, this)) {
    m_result.CopyFrom(columns);
    setWindowTitle(UiText(IDS_COLUMN_DIALOG));
    BuildLayout();
    FillRows();
    // Every column in sight at once: there are only eleven.
    m_list->setMinimumHeight(m_list->sizeHintForRow(0) * m_list->count() + 2 * m_list->frameWidth());
    connect(m_list, &QListWidget::itemSelectionChanged, this, &CColumnDialog::OnSelectionChanged);
    connect(m_list, &QListWidget::itemChanged, this, &CColumnDialog::OnItemChanged);
    connect(m_up, &QPushButton::clicked, this, &CColumnDialog::MoveUp);
    connect(m_down, &QPushButton::clicked, this, &CColumnDialog::MoveDown);
    connect(m_show, &QPushButton::clicked, this, &CColumnDialog::ShowSelected);
    connect(m_hide, &QPushButton::clicked, this, &CColumnDialog::HideSelected);
    UpdateButtons();
}

void CColumnDialog::BuildLayout() {
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setAccessibleName(PlainLabel(UiText(IDS_COLUMN_LIST)));
    m_list->setMinimumWidth(220);
    m_width->setValidator(new QIntValidator(0, kMaxWidth, m_width));
    m_width->setMaxLength(4);
    m_width->setAccessibleName(PlainLabel(UiText(IDS_COLUMN_WIDTH)));
    auto* help = new QLabel(UiText(IDS_COLUMN_HELP), this);
    help->setWordWrap(true);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_up, m_down, m_show, m_hide})
        buttons->addWidget(button);
    buttons->addStretch(1);

    auto* widthLabel = new QLabel(UiText(IDS_COLUMN_WIDTH), this);
    auto* pixels = new QLabel(UiText(IDS_COLUMN_PIXELS), this);
    pixels->setBuddy(m_width);
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(widthLabel);
    widthRow->addWidget(m_width);
    widthRow->addWidget(pixels);
    widthRow->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(m_list, 1);
    top->addLayout(buttons);

    QDialogButtonBox* box = MakeDialogButtons(this);
    connect(box->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, &CColumnDialog::OnOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(help);
    layout->addLayout(top, 1);
    layout->addLayout(widthRow);
    layout->addWidget(box);
}

void CColumnDialog::FillRows() {
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    for (const CViewItemInfo& item : m_items) {
        auto* row = new QListWidgetItem(QString::fromStdString(ColumnCaption(item.column)), m_list);
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        row->setCheckState(item.visible ? Qt::Checked : Qt::Unchecked);
        // The name column is always shown: it is greyed, though the operator
        // may still select and move it.
        if (item.column == COLUMN_NAME)
            row->setForeground(m_list->palette().brush(QPalette::Disabled, QPalette::Text));
    }
}

int CColumnDialog::SelectedRow() const {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    return selected.isEmpty() ? -1 : m_list->row(selected.first());
}

void CColumnDialog::ShowRow(int row) {
    m_shownRow = row;
    m_width->setText(row >= 0 ? QString::number(m_items[std::size_t(row)].width) : QString());
}

// Leaving a row keeps what was typed for it.
void CColumnDialog::OnSelectionChanged() {
    if (m_filling)
        return;
    StoreWidth(m_shownRow, false);
    ShowRow(SelectedRow());
    UpdateButtons();
}

void CColumnDialog::StoreWidth(int row, bool emptyMeansZero) {
    if (row < 0 || row >= int(m_items.size()))
        return;
    const std::string text = m_width->text().trimmed().toStdString();
    if (text.empty() && !emptyMeansZero)
        return;
    m_items[std::size_t(row)].width = std::max(0, LeadingInt(text));
}

void CColumnDialog::OnItemChanged(QListWidgetItem* item) {
    const int row = m_list->row(item);
    if (row < 0 || m_filling)
        return;
    const bool ticked = item->checkState() == Qt::Checked;
    if (m_items[std::size_t(row)].column == COLUMN_NAME && !ticked) {
        const QSignalBlocker quiet(m_list);
        item->setCheckState(Qt::Checked);
        return;
    }
    m_items[std::size_t(row)].visible = ticked ? 1 : 0;
    UpdateButtons();
}

void CColumnDialog::SetVisible(int row, bool visible) {
    if (row < 0 || m_items[std::size_t(row)].column == COLUMN_NAME)
        return;
    m_items[std::size_t(row)].visible = visible ? 1 : 0;
    const QSignalBlocker quiet(m_list);
    m_list->item(row)->setCheckState(visible ? Qt::Checked : Qt::Unchecked);
    UpdateButtons();
}

void CColumnDialog::ShowSelected() { SetVisible(SelectedRow(), true); }

void CColumnDialog::HideSelected() { SetVisible(SelectedRow(), false); }

void CColumnDialog::MoveUp() {
    const int row = SelectedRow();
    if (row > 0)
        Swap(row, row - 1);
}

void CColumnDialog::MoveDown() {
    const int row = SelectedRow();
    if (row >= 0 && row + 1 < int(m_items.size()))
        Swap(row, row + 1);
}

// The selected row changes place with its neighbour and stays selected; the
// width typed for it goes with it.
void CColumnDialog::Swap(int row, int other) {
    StoreWidth(row, false);
    std::swap(m_items[std::size_t(row)], m_items[std::size_t(other)]);
    m_filling = true;
    FillRows();
    m_list->setCurrentRow(other);
    m_filling = false;
    ShowRow(other);
    UpdateButtons();
}

void CColumnDialog::UpdateButtons() {
    const int row = SelectedRow();
    const bool selected = row >= 0 && row < int(m_items.size());
    const bool name = selected && m_items[std::size_t(row)].column == COLUMN_NAME;
    const bool visible = selected && m_items[std::size_t(row)].visible;
    m_up->setEnabled(selected && row > 0);
    m_down->setEnabled(selected && row + 1 < int(m_items.size()));
    m_show->setEnabled(selected && !name && !visible);
    m_hide->setEnabled(selected && !name && visible);
}

void CColumnDialog::OnOk() {
    // The selected row takes the field as it stands; an empty field is 0.
    StoreWidth(SelectedRow(), true);
    std::stable_partition(m_items.begin(), m_items.end(), [](const CViewItemInfo& i) { return i.visible != 0; });
    m_result.Replace(m_items);
    accept();
}

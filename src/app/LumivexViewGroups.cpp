// The view's group commands: a new group, editing and deleting the group of
// the selected tab, the automatic group names, and the name check the group
// dialog asks for. Each change is saved at once.
#include <algorithm>
#include <memory>

#include <QSignalBlocker>

#include "app/AppDefs.h"
#include "app/LumivexView.h"
#include "comm/CommWnd.h"
#include "platform/ResourceText.h"
#include "ui/GroupNames.h"
#include "ui/GroupSetting.h"
#include "ui/ItemListArea.h"
#include "ui/MessageBoxes.h"
#include "ui/MyTabCtrl.h"

namespace {
// A last tab that starts this close to the row's left edge had the row
// scrolled to it; deleting it must bring the new selection into view.
constexpr int kTabEdgeSlack = 8;
}  // namespace

std::vector<std::string> CLumivexView::NamedGroupCaptions() const {
    std::vector<std::string> captions;
    for (std::size_t i = 1; i < m_groups.size(); ++i)
        captions.push_back(m_groups[i]->Name());
    return captions;
}

int CLumivexView::NextGroupNumber() const {
    return ::NextGroupNumber(NamedGroupCaptions(), ResourceText(IDS_GROUP_PREFIX));
}

int CLumivexView::LowestFreeGroupNumber() const {
    return ::LowestFreeGroupNumber(NamedGroupCaptions(), ResourceText(IDS_GROUP_PREFIX));
}

std::string CLumivexView::UniqueGroupName(const std::string& name) const {
    return ::UniqueGroupName(name, NamedGroupCaptions(), ResourceText(IDS_GROUP_PREFIX));
}

LRESULT CLumivexView::OnGroupNameFree(WPARAM name, LPARAM answer) const {
    const auto* proposed = reinterpret_cast<const std::string*>(name);
    auto* free = reinterpret_cast<int*>(answer);
    if (!proposed || !free)
        return 0;
    // Every group, the All group's display name included.
    *free = std::none_of(m_groups.begin(), m_groups.end(), [proposed](const auto& g) { return g->Name() == *proposed; })
                ? 1
                : 0;
    return 0;
}

void CLumivexView::NewGroup() {
    if (m_groups.empty() || !m_tabs)
        return;
    const int number = NextGroupNumber();
    if (number < 0) {
        ShowStopMessage(this, ResourceText(IDS_GROUP_NAME_ERROR));
        return;
    }
    CGroupSetting dialog(*m_groups.front(), nullptr, number, this, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::string name = UniqueGroupName(dialog.Group().Name());
    if (name.empty()) {
        ShowStopMessage(this, ResourceText(IDS_GROUP_NAME_ERROR));
        return;
    }
    auto group = std::make_unique<CGroupItem2>();
    group->CopyGroupFrom(dialog.Group());
    group->SetName(name);
    m_groups.push_back(std::move(group));
    SaveGroupList();
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->setCurrentIndex(m_tabs->AddGroupTab(name));
    }
    SelectGroupTab();
}

void CLumivexView::EditGroup() {
    const int tab = m_tabs ? m_tabs->currentIndex() : -1;
    auto* group = tab > 0 ? dynamic_cast<CGroupItem2*>(GroupAt(tab)) : nullptr;
    if (!group)
        return;
    CGroupSetting dialog(*m_groups.front(), group, 0, this, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    group->CopyGroupFrom(dialog.Group());
    SaveGroupList();
    m_tabs->SetGroupTabText(tab, group->Name());
    if (m_list)
        m_list->Refill();
}

void CLumivexView::DeleteGroup() {
    const int tab = m_tabs ? m_tabs->currentIndex() : -1;
    if (tab <= 0 || !ConfirmDelete(this, IDS_DELETE_GROUP))
        return;
    if (tab >= int(m_groups.size()) || tab >= m_tabs->count())
        return;
    const bool last = tab == m_tabs->count() - 1;
    const bool scrolledToLast = last && m_tabs->tabRect(tab).left() < kTabEdgeSlack;
    // The engine lets go of the group first (a power-on sequence may walk
    // it); the group itself goes only after the list that shows it.
    std::unique_ptr<CGroupItem> gone = std::move(m_groups[std::size_t(tab)]);
    m_groups.erase(m_groups.begin() + tab);
    if (m_engine)
        m_engine->ForgetGroup(gone.get());
    {
        const QSignalBlocker quiet(m_tabs);
        m_tabs->removeTab(tab);
        // The tab that followed now has the deleted tab's index; after the
        // last tab, the one before it.
        m_tabs->setCurrentIndex(std::max(0, last ? tab - 1 : tab));
    }
    SelectGroupTab();
    gone.reset();
    SaveGroupList();
    if (scrolledToLast)
        ScrollSelectedTabIntoView();
    m_tabs->setFocus();
}

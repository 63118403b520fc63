// Automatic group names, and the group settings dialog: its two lists,
// moving projectors across, the buttons' states and the name check it asks
// the view for.
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "platform/ResourceText.h"
#include "support/ModalDriver.h"
#include "ui/GroupNames.h"
#include "ui/GroupSetting.h"
#include "ui/UiDefs.h"

namespace {

const std::string P = "グループ";

std::vector<std::string> Auto(std::initializer_list<int> numbers) {
    std::vector<std::string> captions;
    for (int n : numbers)
        captions.push_back(AutomaticGroupName(P, n));
    return captions;
}

// The view's side of the name check: the names it holds are taken.
class NameOwner : public TMsgWnd<QWidget> {
public:
    std::vector<std::string> names;
    std::vector<std::string> asked;

protected:
    LRESULT OnMessage(unsigned msg, WPARAM wParam, LPARAM lParam) override {
        if (msg != WM_GROUP_NAME_FREE)
            return 0;
        const auto& name = *reinterpret_cast<const std::string*>(wParam);
        asked.push_back(name);
        *reinterpret_cast<int*>(lParam) = std::find(names.begin(), names.end(), name) == names.end() ? 1 : 0;
        return 0;
    }
};

class GroupSettingTest : public ::testing::Test {
protected:
    void SetUp() override {
        Fill(m_all, {Record("Aula", "10.0.0.1"), Record("Kapelle", "10.0.0.2"), Record("Mensa", "10.0.0.3"),
                     Record("Foyer", "10.0.0.4")});
        m_view.names = {"すべて", "Hall"};
    }
    static std::vector<std::string> Texts(QListView* list) {
        std::vector<std::string> texts;
        for (int row = 0; row < list->model()->rowCount(); ++row)
            texts.push_back(list->model()->index(row, 0).data().toString().toStdString());
        return texts;
    }
    static std::vector<int> Selected(QListView* list) {
        std::vector<int> rows;
        for (const QModelIndex& index : list->selectionModel()->selectedRows())
            rows.push_back(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    static void Select(QListView* list, std::initializer_list<int> rows) {
        list->clearSelection();
        for (int row : rows)
            list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select);
    }

    CGroupItem m_all;
    NameOwner m_view;
};

using RowTexts = std::vector<std::string>;

}  // namespace

TEST(GroupNames, NextNumberFollowsTheLargestUntilItPasses999) {
    EXPECT_EQ(NextGroupNumber({}, P), 1);
    EXPECT_EQ(NextGroupNumber(Auto({1, 2, 10}), P), 11);
    EXPECT_EQ(NextGroupNumber(Auto({1, 2, 999}), P), 3);
    // Texts around the prefix: the digits after its first occurrence count,
    // none count as 0; captions without it do not count.
    EXPECT_EQ(NextGroupNumber({"Hall", "Halle " + P + "41b", "x" + P + P + "7"}, P), 42);
    EXPECT_EQ(NextGroupNumber({P + "abc", P + "-5"}, P), 1);
    // A number too large for any counter still means "past 999".
    EXPECT_EQ(NextGroupNumber({P + "99999999999999999999"}, P), 1);
    std::vector<std::string> all;
    for (int n = 1; n <= GROUP_NUMBER_MAX; ++n)
        all.push_back(AutomaticGroupName(P, n));
    EXPECT_EQ(NextGroupNumber(all, P), -1);
    EXPECT_EQ(LowestFreeGroupNumber(all, P), -1);
    EXPECT_EQ(LowestFreeGroupNumber({}, P), 1);
    EXPECT_EQ(AutomaticGroupName(P, 7), P + "007");
}

TEST(GroupNames, TakenNameBecomesTheLowestFreeAutomaticName) {
    const std::vector<std::string> captions = {"Hall", P + "001", P + "003"};
    EXPECT_EQ(UniqueGroupName("Studio", captions, P), "Studio");
    EXPECT_EQ(UniqueGroupName("Hall", captions, P), P + "002");
    EXPECT_EQ(UniqueGroupName(P + "003", captions, P), P + "002");
    std::vector<std::string> full;
    for (int n = 1; n <= GROUP_NUMBER_MAX; ++n)
        full.push_back(AutomaticGroupName(P, n));
    EXPECT_EQ(UniqueGroupName(P + "500", full, P), "");
}

TEST_F(GroupSettingTest, NewGroupOffersEveryProjectorUnderTheSerialName) {
    CGroupSetting dialog(m_all, nullptr, 7, &m_view);
    EXPECT_EQ(dialog.NameField()->text().toStdString(), ResourceText(IDS_GROUP_PREFIX) + "007");
    EXPECT_EQ(Texts(dialog.AllList()),
              (RowTexts{"Aula (10.0.0.1)", "Kapelle (10.0.0.2)", "Mensa (10.0.0.3)", "Foyer (10.0.0.4)"}));
    EXPECT_TRUE(Texts(dialog.MemberList()).empty());
    EXPECT_TRUE(dialog.OkButton()->isEnabled());
    EXPECT_FALSE(dialog.AddButton()->isEnabled());
    EXPECT_FALSE(dialog.RemoveButton()->isEnabled());
    dialog.NameField()->clear();
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(dialog.NameField()->maxLength(), 32);
}

TEST_F(GroupSettingTest, AddAndRemoveMoveTheSelectionToTheEndOfTheOtherListSelected) {
    CGroupSetting dialog(m_all, nullptr, 1, &m_view);
    Select(dialog.AllList(), {3, 1});
    ASSERT_TRUE(dialog.AddButton()->isEnabled());
    QTest::mouseClick(dialog.AddButton(), Qt::LeftButton);
    EXPECT_EQ(Texts(dialog.AllList()), (RowTexts{"Aula (10.0.0.1)", "Mensa (10.0.0.3)"}));
    // In list order, whatever order they were picked in.
    EXPECT_EQ(Texts(dialog.MemberList()), (RowTexts{"Kapelle (10.0.0.2)", "Foyer (10.0.0.4)"}));
    EXPECT_EQ(Selected(dialog.MemberList()), (std::vector<int>{0, 1}));
    EXPECT_FALSE(dialog.AddButton()->isEnabled());
    EXPECT_TRUE(dialog.RemoveButton()->isEnabled());

    Select(dialog.AllList(), {0});
    dialog.AddSelected();  // joins the right list's selection
    EXPECT_EQ(Selected(dialog.MemberList()), (std::vector<int>{0, 1, 2}));
    Select(dialog.MemberList(), {0});
    dialog.RemoveSelected();
    EXPECT_EQ(Texts(dialog.AllList()), (RowTexts{"Mensa (10.0.0.3)", "Kapelle (10.0.0.2)"}));
    EXPECT_EQ(Selected(dialog.AllList()), (std::vector<int>{1}));
    EXPECT_EQ(Texts(dialog.MemberList()), (RowTexts{"Foyer (10.0.0.4)", "Aula (10.0.0.1)"}));

    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Group().Name(), ResourceText(IDS_GROUP_PREFIX) + "001");
    ASSERT_EQ(dialog.Group().GetCount(), 2);
    EXPECT_EQ(dialog.Group().GetAt(0), m_all.GetAt(3));
    EXPECT_EQ(dialog.Group().GetAt(1), m_all.GetAt(0));
}

TEST_F(GroupSettingTest, EditingStartsFromTheGroupAndLeavesItAlone) {
    CGroupItem2 hall("Hall");
    hall.Add(m_all.GetAt(2));
    hall.Add(m_all.GetAt(0));
    CGroupSetting dialog(m_all, &hall, 0, &m_view);
    EXPECT_EQ(dialog.NameField()->text().toStdString(), "Hall");
    EXPECT_EQ(Texts(dialog.MemberList()), (RowTexts{"Mensa (10.0.0.3)", "Aula (10.0.0.1)"}));
    EXPECT_EQ(Texts(dialog.AllList()), (RowTexts{"Kapelle (10.0.0.2)", "Foyer (10.0.0.4)"}));
    Select(dialog.MemberList(), {0, 1});
    dialog.RemoveSelected();
    EXPECT_EQ(hall.GetCount(), 2);  // only OK gives a result, and only in Group()
    // Keeping its own name needs no check; a group may end with no members.
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(m_view.asked.empty());
    EXPECT_EQ(dialog.Group().Name(), "Hall");
    EXPECT_EQ(dialog.Group().GetCount(), 0);
}

TEST_F(GroupSettingTest, TakenNameIsRefusedAndTheFieldSelectedForRetyping) {
    CGroupItem2 studio("Studio");
    CGroupSetting dialog(m_all, &studio, 0, &m_view);
    dialog.show();
    CModalDriver driver;
    for (const char* taken : {"すべて", "Hall"}) {
        dialog.NameField()->setText(QString::fromUtf8(taken));
        driver.ThenMessageBox();
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible()) << taken;
        EXPECT_EQ(dialog.NameField()->selectedText().toStdString(), taken);
    }
    ASSERT_EQ(driver.Boxes().size(), 2u);
    EXPECT_EQ(driver.Boxes()[0].text, ResourceText(IDS_GROUP_NAME_ERROR));
    EXPECT_EQ(driver.Boxes()[0].icon, QMessageBox::Critical);
    // Byte for byte: another spelling is free.
    dialog.NameField()->setText("hall");
    QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(m_view.asked, (RowTexts{"すべて", "Hall", "hall"}));
    EXPECT_EQ(dialog.Group().Name(), "hall");
}

TEST_F(GroupSettingTest, WithoutAnyProjectorNoGroupCanBeMade) {
    CGroupItem empty;
    CGroupSetting dialog(empty, nullptr, 1, &m_view);
    EXPECT_FALSE(dialog.OkButton()->isEnabled());
    EXPECT_EQ(dialog.AllList()->model()->rowCount(), 0);
}

#pragma once
// CGroupSetting: the group settings dialog. It names a group and picks its
// members from every known projector: the left list offers the projectors
// not in the group, the right list holds the group's members, each row "name
// (address)"; Add >> and << Remove move the selected rows across. A new group
// is proposed the automatic name with the serial the view worked out; OK asks
// the view whether the name is free (WM_GROUP_NAME_FREE, sent), unless an
// edited group keeps its name. It works on its own copy: the group it was
// given is never touched, and Group() is the result. Whoever runs the dialog
// owns it; the records belong to the All group and must outlive it.
#include <string>

#include <QDialog>

#include "platform/MsgWnd.h"
#include "settings/GroupItem2.h"

class CProjectorPickModel;
class QLineEdit;
class QListView;
class QPushButton;

class CGroupSetting : public QDialog {
    Q_OBJECT
public:
    // source: the All group, whose members are offered. edited: the group to
    // edit, or null for a new group named text 301 followed by serial in
    // three digits. view: answers the name check (none: every name is free).
    CGroupSetting(const CGroupItem& source, const CGroupItem* edited, int serial, TMsgWnd<QWidget>* view,
                  QWidget* parent = nullptr);
    ~CGroupSetting() override;

    // The name and members the dialog ended with.
    const CGroupItem2& Group() const { return m_group; }

    // Moves the selected rows of the left (right) list to the end of the
    // other list, selected there.
    void AddSelected();
    void RemoveSelected();

    QLineEdit* NameField() const { return m_name; }
    QListView* AllList() const { return m_allList; }
    QListView* MemberList() const { return m_memberList; }
    QPushButton* AddButton() const { return m_add; }
    QPushButton* RemoveButton() const { return m_remove; }
    QPushButton* OkButton() const { return m_ok; }

private:
    void BuildLayout();
    void Fill(const CGroupItem* edited, int serial);
    void UpdateButtons();
    void OnOk();
    bool IsNameFree(const std::string& name) const;
    static void Move(QListView* from, CProjectorPickModel* fromModel, QListView* to, CProjectorPickModel* toModel);

    const CGroupItem& m_source;
    TMsgWnd<QWidget>* m_view;
    CGroupItem2 m_group;
    std::string m_openingName;
    bool m_editing;
    CProjectorPickModel* m_all;
    CProjectorPickModel* m_members;
    QLineEdit* m_name;
    QListView* m_allList;
    QListView* m_memberList;
    QPushButton* m_add;
    QPushButton* m_remove;
    QPushButton* m_ok = nullptr;
};

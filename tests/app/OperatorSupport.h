#pragma once
// What the operator does in the console's tests: picks a projector's row,
// and answers the modal boxes and dialogs the console opens.
#include <functional>
#include <string>
#include <vector>

#include <QApplication>
#include <QPointer>
#include <QTableView>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/LumivexView.h"
#include "settings/GroupItem.h"
#include "ui/ItemListArea.h"
#include "ui/ProjectorListModel.h"

inline CProjectorInfo* RecordOf(const CLumivexView* view, const std::string& address) {
    return view->Groups()[0]->FindByAddress(address);
}

// Selects the row of the projector at address in the list shown.
inline void Select(CLumivexView* view, const std::string& address) {
    const int row = view->ListArea()->ListModel()->RowOf(RecordOf(view, address));
    ASSERT_GE(row, 0) << address;
    view->ListArea()->ListView()->selectRow(row);
}

// Each modal window that becomes the active one is handed, once, to a
// handler, which ends it (it may wait for events meanwhile).

class CModalOperator {
public:
    explicit CModalOperator(std::function<void(QWidget*)> answer) : m_answer(std::move(answer)) {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Look(); });
        m_timer.start(10);
    }
    // How many modal windows were answered.
    int Count() const { return m_count; }

private:
    void Look() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || m_answering)
            return;
        for (const QPointer<QWidget>& seen : m_seen)
            if (seen == modal)
                return;
        m_seen.emplace_back(modal);
        ++m_count;
        m_answering = true;
        m_answer(modal);
        m_answering = false;
    }

    std::function<void(QWidget*)> m_answer;
    QTimer m_timer;
    std::vector<QPointer<QWidget>> m_seen;
    int m_count = 0;
    bool m_answering = false;
};

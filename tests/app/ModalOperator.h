#pragma once
// Stands in for the operator in front of the modal boxes and dialogs the
// console opens: each one that becomes the active modal window is handed,
// once, to a handler, which ends it (it may wait for events meanwhile).
#include <functional>
#include <vector>

#include <QApplication>
#include <QPointer>
#include <QTimer>

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

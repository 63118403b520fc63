#pragma once
// CAlertList: the alert manager's list of open pop-ups, in the order they
// were made, each with the status code it was made for. The status is kept
// beside the pop-up, so asking whether a code is taken never reaches into a
// pop-up. Owned by the alert manager; it does not own the pop-ups.
#include <vector>

class QObject;

class CAlertList {
public:
    // True when a listed pop-up was made for status (empty entries skipped).
    bool HasAlertFor(int status) const;
    void Append(QObject* popup, int status);
    // False when popup is not listed.
    bool Remove(const QObject* popup);
    // The listed pop-ups, oldest first.
    std::vector<QObject*> Popups() const;
    int Count() const { return static_cast<int>(m_entries.size()); }

private:
    struct Entry {
        QObject* popup;
        int status;
    };
    std::vector<Entry> m_entries;
};

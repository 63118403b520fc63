#pragma once
// CCloseSignals: turns the signals that ask a program to end (SIGTERM,
// SIGINT, SIGHUP) into a call on the UI thread, so that the console closes
// its main window in order (engine stopped, everything saved) instead of
// dying where it stands. The handler only writes a byte to a pipe that the
// event loop watches. One per process, owned by the application.
#include <functional>

#include <QObject>

class QSocketNotifier;

class CCloseSignals : public QObject {
public:
    explicit CCloseSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~CCloseSignals() override;
    // False when the pipe or the handlers could not be set up.
    bool Ok() const { return m_notifier != nullptr; }

private:
    void OnReadable();

    std::function<void()> m_onSignal;
    QSocketNotifier* m_notifier = nullptr;
};

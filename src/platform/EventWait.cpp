#include "platform/EventWait.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

bool RunEventsUntil(const std::function<bool()>& done, int ms, const std::function<bool()>& stop, int checkMs) {
    if (done())
        return true;
    QDeadlineTimer deadline = ms < 0 ? QDeadlineTimer(QDeadlineTimer::Forever) : QDeadlineTimer(ms);
    bool result = false;
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done()) {
            result = true;
            loop.quit();
        } else if (deadline.hasExpired() || (stop && stop())) {
            loop.quit();
        }
    });
    check.start(checkMs);
    loop.exec();
    return result;
}

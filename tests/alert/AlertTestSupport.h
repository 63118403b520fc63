#pragma once
// Driving caution boxes in tests: each box runs its own modal loop, so the
// test acts from a timer that keeps firing inside those loops, and every box
// still open at the deadline is closed so that no test can hang.
#include <functional>
#include <vector>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "alert/CautionDialog.h"
#include "platform/EventWait.h"

// The caution boxes on screen, oldest first.
inline std::vector<CCautionDialog*> OpenBoxes() {
    std::vector<CCautionDialog*> boxes;
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = dynamic_cast<CCautionDialog*>(widget); box && box->isVisible())
            boxes.push_back(box);
    return boxes;
}

inline void ClickOk(CCautionDialog* box) {
    if (auto* ok = box->findChild<QPushButton*>())
        ok->click();
}

// Calls step every few milliseconds, in whatever loop runs, until it returns
// true; false when ms pass first (the boxes still open are then closed).
inline bool RunBoxScript(const std::function<bool()>& step, int ms = 10000) {
    bool finished = false;
    bool expired = false;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, [&] { expired = true; });
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (expired) {
            for (CCautionDialog* box : OpenBoxes())
                box->reject();
            return;
        }
        if (!finished && step())
            finished = true;
    });
    deadline.start(ms);
    ticker.start(5);
    RunEventsUntil([&] { return finished || (expired && OpenBoxes().empty()); }, -1);
    return finished;
}

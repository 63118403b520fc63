#pragma once
// The console benchmarks' wait for painting: the event loop runs until the
// widgets watched have painted what a change left to paint, as the window
// system would have them do, or for a short while when nothing is on screen
// to paint. Waiting costs no CPU time, so only the work counts.
#include <initializer_list>

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include "platform/EventWait.h"

class CPaintWait : public QObject {
public:
    // Runs events until the widgets got `paints` more paint events, or ms pass.
    void Wait(std::initializer_list<QWidget*> widgets, int paints = 1, int ms = 40) {
        for (QWidget* widget : widgets)
            widget->installEventFilter(this);
        const int before = m_paints;
        RunEventsUntil([&] { return m_paints >= before + paints; }, ms, {}, 1);
        QCoreApplication::sendPostedEvents();
    }
    // Every paint counted so far, to show that the figures include painting.
    int Paints() const { return m_paints; }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        m_paints += event->type() == QEvent::Paint;
        return false;
    }

private:
    int m_paints = 0;
};

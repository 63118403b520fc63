#pragma once
// Answers the modal windows a widget test opens (dialogs, message boxes,
// popup menus), one handler per window in the order they appear. A handler
// runs inside the window's own event loop, as soon as the window is shown,
// and ends it (accepts, rejects, clicks, picks a menu item). A window nobody
// expected fails the test and is rejected, so a test never hangs on it.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <gtest/gtest.h>

class CModalDriver : public QObject {
public:
    using Handler = std::function<void(QWidget*)>;

    CModalDriver() { qApp->installEventFilter(this); }
    ~CModalDriver() override {
        qApp->removeEventFilter(this);
        EXPECT_TRUE(m_handlers.empty()) << m_handlers.size() << " expected window(s) never opened";
    }

    // The next window to open gets this handler.
    void Then(Handler handler) { m_handlers.push_back(std::move(handler)); }
    // The next window is a message box: its text is kept, then button is clicked.
    void ThenMessageBox(QMessageBox::StandardButton button = QMessageBox::Ok) {
        Then([this, button](QWidget* window) {
            auto* box = qobject_cast<QMessageBox*>(window);
            ASSERT_NE(box, nullptr) << "expected a message box, got " << window->metaObject()->className();
            QAbstractButton* preset = box->defaultButton();
            m_boxes.push_back({box->text().toStdString(), box->windowTitle().toStdString(), box->icon(),
                               preset ? box->standardButton(preset) : QMessageBox::NoButton});
            box->button(button)->click();
        });
    }

    struct Box {
        std::string text;
        std::string caption;
        QMessageBox::Icon icon;
        QMessageBox::StandardButton defaultButton;
    };
    const std::vector<Box>& Boxes() const { return m_boxes; }
    bool Done() const { return m_handlers.empty(); }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (event->type() == QEvent::Show) {
            auto* widget = qobject_cast<QWidget*>(object);
            if (widget && widget->isWindow() && (qobject_cast<QDialog*>(widget) || qobject_cast<QMenu*>(widget)))
                QTimer::singleShot(0, this, [this, window = QPointer<QWidget>(widget)] { Answer(window); });
        }
        return false;
    }

private:
    void Answer(QPointer<QWidget> window) {
        if (!window || !window->isVisible())
            return;
        if (m_handlers.empty()) {
            ADD_FAILURE() << "unexpected window " << window->metaObject()->className() << " \""
                          << window->windowTitle().toStdString() << "\"";
            if (auto* dialog = qobject_cast<QDialog*>(window.data()))
                dialog->reject();
            else
                window->close();
            return;
        }
        Handler handler = std::move(m_handlers.front());
        m_handlers.pop_front();
        handler(window);
    }

    std::deque<Handler> m_handlers;
    std::vector<Box> m_boxes;
};

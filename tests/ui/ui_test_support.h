#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/app_test_support.h"

namespace pairweb::ui {

using app::AnsweringFileDialogs;
using app::RecordingPrompts;

// Runs action on the next modal window that opens (then the caller's exec() returns).
inline void whenModalOpens(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr) action(modal);
    });
}

// The push button of a control id in a window.
inline QPushButton* buttonOf(QWidget* window, int id) {
    for (QPushButton* b : window->findChildren<QPushButton*>()) {
        if (b->property("controlId").toInt() == id) return b;
    }
    qFatal("no button %d", id);
}

}  // namespace pairweb::ui

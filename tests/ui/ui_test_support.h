#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>
#include <vector>

#include "ui/common_dialog.h"
#include "ui/ui_services.h"

namespace pairweb::ui {

// Answers message boxes and the colour dialog without showing anything, and remembers.
class RecordingPrompts : public UserPrompts {
public:
    RecordingPrompts() { setPrompts(this); }
    ~RecordingPrompts() override { setPrompts(nullptr); }

    void message(QWidget*, const QString& caption, const QString& text) override {
        messages.push_back({caption, text});
    }
    std::optional<QColor> chooseColour(QWidget*, const QColor& initial) override {
        colourDialogStarts.push_back(initial);
        return colourAnswer;
    }

    struct Message {
        QString caption;
        QString text;
    };
    std::vector<Message> messages;
    std::vector<QColor> colourDialogStarts;
    std::optional<QColor> colourAnswer;  // nothing: the user cancels
};

// Answers the file dialogs: the next answer, or a cancel.
class AnsweringFileDialogs : public FileDialogBackend {
public:
    struct Call {
        bool save;
        QString title;
        QStringList filters;
        QString proposed;
    };
    std::optional<QString> open(QWidget*, const QString& title, const QStringList& filters,
                                const QString& proposed) override {
        calls.push_back({false, title, filters, proposed});
        return answer;
    }
    std::optional<QString> save(QWidget*, const QString& title, const QStringList& filters,
                                const QString& proposed) override {
        calls.push_back({true, title, filters, proposed});
        return answer;
    }
    std::vector<Call> calls;
    std::optional<QString> answer;
};

// Runs action on the next modal window that opens (then the caller's exec() returns).
inline void whenModalOpens(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr) action(modal);
    });
}

}  // namespace pairweb::ui

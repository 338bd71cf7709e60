#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/prompts.h"

namespace pairweb::app {

// Answers message boxes and the colour dialog without showing anything, and remembers.
class RecordingPrompts : public Prompts {
  public:
    struct Message {
        std::string caption;
        std::string text;
        MessageKind kind;
    };
    void message(const std::string& caption, const std::string& text, MessageKind kind) override {
        messages.push_back({caption, text, kind});
    }
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override {
        colourDialogStarts.push_back(initial);
        return colourAnswer;
    }

    bool ask(const std::string&, const std::string& text) override {
        questions.push_back(text);
        return questionAnswer;
    }

    std::optional<PasswordAnswer> askPassword(const PasswordQuestion& question) override {
        passwordQuestions.push_back(question.text);
        passwordAsked.push_back(question);
        std::optional<std::string> answer = passwordAnswer;
        if (!passwordAnswers.empty()) {
            answer = passwordAnswers.front();
            passwordAnswers.erase(passwordAnswers.begin());
        }
        if (!answer) return std::nullopt;
        return PasswordAnswer{*answer, rememberAnswer};
    }

    std::vector<Message> messages;
    std::vector<std::string> questions;
    bool questionAnswer = false;  // Yes or No
    std::vector<std::string> passwordQuestions;
    std::vector<PasswordQuestion> passwordAsked;
    std::optional<std::string> passwordAnswer;  // nothing: the user cancels
    // Answers given in turn before passwordAnswer is given (nothing: a cancel).
    std::vector<std::optional<std::string>> passwordAnswers;
    bool rememberAnswer = false;  // the "remember" check box
    std::vector<std::uint32_t> colourDialogStarts;
    std::optional<std::uint32_t> colourAnswer;  // nothing: the user cancels
};

// Answers the file dialogs: the next answer, or a cancel.
class AnsweringFileDialogs : public FileDialogs {
  public:
    struct Call {
        bool save;
        FileDialogRequest request;
    };
    std::optional<std::string> open(const FileDialogRequest& request) override {
        calls.push_back({false, request});
        return answer;
    }
    std::optional<std::string> save(const FileDialogRequest& request) override {
        calls.push_back({true, request});
        return answer;
    }
    std::vector<Call> calls;
    std::optional<std::string> answer;
};

}  // namespace pairweb::app

#pragma once

#include "app/prompts.h"

namespace pairweb::win {

// Windows' message boxes, the password box and the colour dialog, over the active window.
class WinPrompts : public app::Prompts {
  public:
    void message(const std::string& caption, const std::string& text,
                 app::MessageKind kind) override;
    bool ask(const std::string& caption, const std::string& text) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;
    std::optional<app::PasswordAnswer> askPassword(const app::PasswordQuestion& question) override;
};

// The common file dialogs.
class WinFileDialogs : public app::FileDialogs {
  public:
    std::optional<std::string> open(const app::FileDialogRequest& request) override;
    std::optional<std::string> save(const app::FileDialogRequest& request) override;
    // The filter list in the dialogs' form: description NUL pattern NUL ..., NUL.
    static std::wstring filterList(const std::vector<app::FileFilter>& filters);
};

}  // namespace pairweb::win

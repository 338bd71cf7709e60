#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pairweb::app {

// The icon of a message box: errors and refused input warn, everything else informs.
enum class MessageKind { Information, Warning };
// The icon for the message of a command that succeeded or failed.
constexpr MessageKind messageKind(bool succeeded) {
    return succeeded ? MessageKind::Information : MessageKind::Warning;
}

// A question for a password: the box's caption, the text above the masked field, and the
// text of a "remember" check box (empty: no check box).
struct PasswordQuestion {
    std::string caption;
    std::string text;
    std::string rememberText;
};

// The password typed, and whether the check box was ticked.
struct PasswordAnswer {
    std::string password;
    bool remember = false;
};

// What blocks on the user outside the program's own dialogs: message boxes, questions and
// the colour dialog. Each front end passes its own (tests pass answering ones). Texts are
// UTF-8.
class Prompts {
  public:
    virtual ~Prompts() = default;
    // A modal message box with one OK button.
    virtual void message(const std::string& caption, const std::string& text, MessageKind kind) = 0;
    // A modal question box with Yes and No (No the default); true for Yes.
    virtual bool ask(const std::string& caption, const std::string& text) = 0;
    // The full colour dialog starting at initial (0x00BBGGRR); nothing when cancelled.
    virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initial) = 0;
    // Asks for a password, not shown as it is typed; nothing when cancelled.
    virtual std::optional<PasswordAnswer> askPassword(const PasswordQuestion& question) = 0;
};

// One entry of a file dialog's type list.
struct FileFilter {
    std::string description;
    std::string pattern;
    bool operator==(const FileFilter&) const = default;
};

struct FileDialogRequest {
    std::string title;
    std::vector<FileFilter> filters;
    std::string proposed;  // the proposed file name, or empty
};

// The platform's file dialogs; each gives the chosen path (UTF-8) or nothing on cancel.
class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    virtual std::optional<std::string> open(const FileDialogRequest& request) = 0;
    virtual std::optional<std::string> save(const FileDialogRequest& request) = 0;
};

// The file-dialog control of the main dialog: set its properties, show a dialog, read the
// chosen name back. Its properties persist between uses; a cancelled dialog leaves
// FileName as it was.
class CommonDialog {
  public:
    explicit CommonDialog(FileDialogs& dialogs) : m_dialogs(dialogs) {}

    void setDialogTitle(std::string title) { m_title = std::move(title); }
    // Pairs of a description and a pattern, all separated by "|":
    // "Tournament files|*.trn|All Files|*.*".
    void setFilter(std::string filter) { m_filter = std::move(filter); }
    void setFileName(std::string name) { m_fileName = std::move(name); }
    const std::string& fileName() const { return m_fileName; }

    void ShowOpen();
    void ShowSave();

    // The pairs of a filter text; a description without a pattern is dropped.
    static std::vector<FileFilter> parseFilter(std::string_view filter);

  private:
    FileDialogRequest request() const;

    FileDialogs& m_dialogs;
    std::string m_title;
    std::string m_filter;
    std::string m_fileName;
};

}  // namespace pairweb::app

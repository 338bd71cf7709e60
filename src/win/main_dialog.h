#pragma once

// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <string>

#include "app/main_dialog.h"

namespace pairweb::win {

// The program's one window from the dialog resource; what its controls do is the shared
// GeneratorDialog's.
class MainDialog : public app::MainDialogControls {
  public:
    MainDialog(const std::string& programPath, platform::Platform& platform,
               app::FileDialogs& files, app::Prompts& prompts);

    // Runs the dialog modally until OK or Cancel.
    void runModal();
    // Creates the dialog without a loop of its own (tests drive it by messages); OK and
    // Cancel then destroy it.
    HWND create();

    HWND handle() const { return m_window; }
    app::GeneratorDialog& model() { return m_model; }

    std::string text(int id) const override;
    void setText(int id, const std::string& utf8) override;

    // The About box, modally over owner.
    static void runAbout(HWND owner);

  private:
    static INT_PTR CALLBACK proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void init(HWND window);
    void command(int id, int code, HWND control);
    void close(int result);

    app::GeneratorDialog m_model;
    app::Prompts& m_prompts;
    HWND m_window = nullptr;
    bool m_modal = false;
};

}  // namespace pairweb::win

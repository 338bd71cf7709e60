// pairweb.exe: the desktop app for Windows. One dialog; nothing is saved on exit.
// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <commctrl.h>

#include "platform/platform.h"
#include "win/main_dialog.h"
#include "win/win_services.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    pairweb::platform::SystemPlatform platform;
    pairweb::win::WinFileDialogs files;
    pairweb::win::WinPrompts prompts;
    // Settings files and the viewer lie beside the program.
    pairweb::win::MainDialog dialog(platform.programPath(), platform, files, prompts);
    dialog.runModal();
    return 0;
}

// Takes screenshots of the Windows app's dialogs as a person sees them: the main dialog,
// the About box, each page of the options sheet, the open palette and the progress dialog of
// a publish. Writes BMP files
// into FOLDER. Usage: win_screenshots FOLDER SAMPLE_TRN
// clang-format off
#include <windows.h>  // before every other Windows header
// clang-format on

#include <commctrl.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "app/app_test_support.h"
#include "platform/platform.h"
#include "sample_publish_service.h"
#include "win/colour_button.h"
#include "win/main_dialog.h"
#include "win/progress_dialog.h"
#include "win/win_driver.h"
#include "win/win_util.h"

namespace {

using namespace pairweb::win::testing;

// The screen's pixels inside r, as a 24-bit BMP file.
bool capture(RECT r, const std::string& path) {
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0) {
        std::fprintf(stderr, "win_screenshots: nothing to take for %s\n", path.c_str());
        return false;
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    SelectObject(memory, old);
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<unsigned char> pixels(static_cast<std::size_t>(stride) * height);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr) return false;
    const bool ok = std::fwrite(&file, sizeof file, 1, out) == 1 &&
                    std::fwrite(&info, sizeof info, 1, out) == 1 &&
                    std::fwrite(pixels.data(), 1, pixels.size(), out) == pixels.size();
    return std::fclose(out) == 0 && ok;
}

bool captureWindow(HWND window, const std::string& path) {
    pump(400);
    RECT r;
    GetWindowRect(window, &r);
    return capture(r, path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string folder = argv[1];
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    pairweb::platform::SystemPlatform platform;
    pairweb::app::AnsweringFileDialogs files;
    pairweb::app::RecordingPrompts prompts;
    pairweb::win::MainDialog dialog("C:\\Program Files\\pairweb\\pairweb.exe", platform, files,
                                    prompts);
    HWND main = dialog.create();
    auto& s = dialog.model().settings();
    s.strFilename = argv[2];
    s.OutputIndex = "C:\\www\\open2026\\index.html";
    s.TourneyName = "Pairweb Sample Open 2026";
    s.PublishUrl = "ftp://club@ftp.example.org/open2026/";
    s.PublishAfterGenerate = 1;
    dialog.model().updateData(false);
    SetWindowPos(main, HWND_TOP, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
    bool ok = captureWindow(main, folder + "/main-dialog.bmp");

    whenDialogShown(L"About pairweb", [&](HWND about) {
        ok = captureWindow(about, folder + "/about.bmp") && ok;
        SendMessageW(about, WM_COMMAND, IDOK, 0);
    });
    click(main, pairweb::app::control::kAbout);

    const char* pages[] = {"options", "colours", "tiebreaks", "fonts", "labels", "pgn", "publish"};
    static_assert(std::size(pages) == pairweb::app::kOptionPageCount);
    whileModal([&] {
        HWND sheet = findSheet();
        if (sheet == nullptr) return;
        for (int k = 0; k < pairweb::app::kOptionPageCount; ++k) {
            showPage(sheet, k);
            ok = captureWindow(sheet, folder + "/page-" + pages[k] + ".bmp") && ok;
        }
        HWND colours = showPage(sheet, 1);
        click(colours, 1006);
        if (HWND palette = paletteOf(colours, 1006)) {
            key(palette, VK_DOWN);
            pump(400);
            RECT a;
            RECT b;
            GetWindowRect(sheet, &a);
            GetWindowRect(palette, &b);
            RECT both;
            UnionRect(&both, &a, &b);
            ok = capture(both, folder + "/palette.bmp") && ok;
            key(palette, VK_ESCAPE);
        } else {
            ok = false;
        }
        PropSheet_PressButton(sheet, PSBTN_CANCEL);
    });
    click(main, pairweb::app::control::kOptions);

    // The progress dialog of a publish, at the twelfth file.
    pairweb::tools::SamplePasswordStore store;
    pairweb::tools::SamplePublishService service;
    pairweb::app::PublishFlow flow(prompts, "pairweb");
    flow.setStore(store);
    flow.setService(service);
    flow.setProgressRunner([&](pairweb::app::BackgroundTask& task) {
        whenDialogShown(L"Publishing", [&](HWND progress) {
            for (int k = 0; k < 200 && !task.view().counts.starts_with("File 12 of"); ++k) {
                pump(10);
            }
            ok = captureWindow(progress, folder + "/publish-progress.bmp") && ok;
            task.cancel();
        });
        pairweb::win::runProgressDialog(main, task);
    });
    (void)flow.publishGenerated(s, "Web page generated!");
    DestroyWindow(main);
    return ok ? 0 : 1;
}

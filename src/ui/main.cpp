// pairweb: the desktop app. One dialog; nothing is saved on exit.
#include <QApplication>

#include "platform/platform.h"
#include "ui/generator_dlg.h"
#include "ui/ui_services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    pairweb::platform::SystemPlatform platform;
    pairweb::ui::QtFileDialogs files;
    pairweb::ui::QtPrompts prompts;
    // The program's own path (settings files and the viewer lie beside it) comes from the
    // platform layer, as for every front end.
    pairweb::ui::CGeneratorDlg dialog(platform.programPath(), platform, files, prompts);
    dialog.exec();
    return 0;
}

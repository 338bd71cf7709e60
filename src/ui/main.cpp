// pairweb: the desktop app. One dialog; nothing is saved on exit.
#include <QApplication>

#include "platform/platform.h"
#include "ui/common_dialog.h"
#include "ui/generator_dlg.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    pairweb::platform::SystemPlatform platform;
    pairweb::ui::QtFileDialogs files;
    pairweb::ui::CGeneratorDlg dialog(QCoreApplication::applicationFilePath(), platform, files);
    dialog.exec();
    return 0;
}

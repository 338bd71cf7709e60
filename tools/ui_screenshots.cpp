// Renders the main dialog and the Colours page of the options sheet to PNG files for the
// README, with the sample tournament filled in. Usage: ui_screenshots FOLDER SAMPLE_TRN
#include <QApplication>
#include <QTabWidget>

#include "platform/platform.h"
#include "ui/generator_dlg.h"
#include "ui/options_sheet.h"
#include "ui/ui_services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    pairweb::platform::SystemPlatform platform;
    pairweb::ui::QtFileDialogs files;
    pairweb::ui::QtPrompts prompts;
    pairweb::ui::CGeneratorDlg dialog("/opt/pairweb/pairweb", platform, files, prompts);
    auto& model = dialog.model();
    model.settings().strFilename = argv[2];
    model.settings().OutputIndex = "/var/www/open2026/index.html";
    model.settings().TourneyName = "Pairweb Sample Open 2026";
    model.updateData(false);
    dialog.resize(620, dialog.sizeHint().height());
    dialog.show();
    app.processEvents();
    if (!dialog.grab().save(folder + "/main-dialog.png")) return 1;

    pairweb::app::OptionsSheet state(model.settings());
    pairweb::ui::COptionsSheet sheet(state, prompts);
    sheet.tabs()->setCurrentIndex(1);
    sheet.resize(520, 420);
    sheet.show();
    app.processEvents();
    return sheet.grab().save(folder + "/colours-page.png") ? 0 : 1;
}

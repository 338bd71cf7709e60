// Renders the main dialog, the Colours and Publish pages of the options sheet and the
// progress dialog of a publish to PNG files for the README, with the sample tournament filled
// in. Usage: ui_screenshots FOLDER SAMPLE_TRN
#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>

#include "platform/platform.h"
#include "sample_publish_service.h"
#include "ui/generator_dlg.h"
#include "ui/options_sheet.h"
#include "ui/progress_dlg.h"
#include "ui/ui_services.h"

namespace {

// Shows a sheet open on one page and saves it.
bool savePage(const pairweb::settings::Settings& s, int page, const QString& path) {
    pairweb::ui::QtPrompts prompts;
    pairweb::app::OptionsSheet state(s);
    pairweb::ui::COptionsSheet sheet(state, prompts);
    sheet.tabs()->setCurrentIndex(page);
    sheet.resize(520, 440);
    sheet.show();
    QApplication::processEvents();
    return sheet.grab().save(path);
}

}  // namespace

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
    model.settings().PublishUrl = "ftp://club@ftp.example.org/open2026/";
    model.settings().PublishAfterGenerate = 1;
    model.updateData(false);
    dialog.resize(620, dialog.sizeHint().height());
    dialog.show();
    app.processEvents();
    bool ok = dialog.grab().save(folder + "/main-dialog.png");
    ok = savePage(model.settings(), 1, folder + "/colours-page.png") && ok;
    ok = savePage(model.settings(), pairweb::app::kPublishPage, folder + "/publish-page.png") && ok;

    // The progress dialog of a publish, at the twelfth file.
    pairweb::tools::SamplePasswordStore store;
    pairweb::tools::SamplePublishService service;
    pairweb::app::PublishFlow flow(prompts, "pairweb");
    flow.setStore(store);
    flow.setService(service);
    flow.setProgressRunner([&](pairweb::app::BackgroundTask& task) {
        pairweb::ui::CProgressDlg progress(task, &dialog);
        progress.show();
        while (!task.view().counts.starts_with("File 12 of")) app.processEvents();
        QElapsedTimer shown;  // a few of the dialog's own refreshes
        shown.start();
        while (shown.elapsed() < 300) app.processEvents();
        ok = progress.grab().save(folder + "/publish-progress.png") && ok;
        task.cancel();
        while (!task.finished()) app.processEvents();
    });
    (void)flow.publishGenerated(model.settings(), "Web page generated!");
    return ok ? 0 : 1;
}

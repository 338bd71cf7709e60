// The Qt app publishing for real: the Publish page filled in the options sheet, Generate
// HTML, the password asked for and remembered in the netrc file of a home folder of the
// test's own, the progress dialog while the windows keep painting, and the sample site on
// a loopback vsftpd (FTP with TLS) that the test starts and stops. A second run of the app
// finds the password again.
#include <sys/stat.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "support/servers.h"
#include "support/test_env.h"
#include "ui/generator_dlg.h"
#include "ui/options_sheet.h"
#include "ui_test_support.h"

namespace pairweb::ui {
namespace {

namespace fs = std::filesystem;

// Every file below a folder by its "/"-separated path, with its bytes; the manifest aside.
std::map<std::string, std::string> readTree(const std::string& folder) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file()) continue;
        const std::string path = fs::relative(entry.path(), folder).generic_string();
        if (path != ".pairweb-published") tree[path] = testing::readFile(entry.path().string());
    }
    return tree;
}

// What the event loop did while a publish ran: timer ticks, paints of the main dialog, and
// what the progress dialog showed.
class Watcher : public QObject {
  public:
    explicit Watcher(QWidget* main) : m_main(main) {  // main outlives the watcher
        main->installEventFilter(this);
        connect(&m_timer, &QTimer::timeout, this, [this] { tick(); });
        m_timer.start(10);
    }
    bool eventFilter(QObject* object, QEvent* event) override {
        if (object == m_main && event->type() == QEvent::Paint && progressShown) ++paints;
        return false;
    }
    int ticksWithProgress = 0;
    int paints = 0;
    bool progressShown = false;
    bool progressWasShown = false;
    QString sending;  // a file the dialog named while it was being sent
    QString title;

  private:
    void tick() {
        QWidget* modal = QApplication::activeModalWidget();
        progressShown = modal != nullptr && modal->objectName() == "progress";
        if (!progressShown) return;
        progressWasShown = true;
        ++ticksWithProgress;
        title = modal->windowTitle();
        const QString action = modal->findChild<QLabel*>("action")->text();
        if (action.startsWith("Sending ")) sending = action;
        m_main->update();  // the main dialog is asked to paint again, and does
    }
    QWidget* m_main;
    QTimer m_timer;
};

class PublishAppTest : public QObject {
    Q_OBJECT

  private:
    testing::TempDir dir;
    std::string home = dir / "home";

  private slots:
    void initTestCase() {
        fs::create_directories(home);
        setenv("HOME", home.c_str(), 1);
        unsetenv("PAIRWEB_PUBLISH_PASSWORD");
    }

    void publishesTheSampleSiteAndFindsThePasswordAgain() {
        testing::RemovedOnInterrupt removed(dir.path());
        testing::VsftpServer server;
        server.setMaxRate(150000);  // a few seconds, so that the progress can be seen
        QVERIFY2(server.start(), server.log().c_str());
        fs::create_directories(dir / "site");
        const std::string site = dir / "site";

        testing::FixedPlatform platform{dir / "pairweb", 1796652309};
        AnsweringFileDialogs files;
        RecordingPrompts prompts;
        prompts.passwordAnswer = "guest";  // vsftpd's anonymous login takes any password
        prompts.rememberAnswer = true;
        auto dialog = std::make_unique<CGeneratorDlg>(dir / "pairweb", platform, files, prompts);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
        app::GeneratorDialog& model = dialog->model();
        model.settings().strFilename = std::string(PAIRWEB_SOURCE_DIR) + "/samples/swiss_open.trn";
        model.settings().OutputIndex = site + "/index.html";
        model.settings().PublishCaFile = server.certificateFile();
        model.updateData(false);

        // The Publish page, filled as a user would, then Test connection and OK.
        bool filled = false;
        whenModalOpens([&](QWidget* modal) {
            auto* sheet = qobject_cast<COptionsSheet*>(modal);
            if (sheet == nullptr) return;
            sheet->tabs()->setCurrentIndex(app::kPublishPage);
            QWidget* page = sheet->page(app::kPublishPage);
            page->findChild<QComboBox*>("PublishProtocol")->setCurrentIndex(0);
            QTest::keyClicks(page->findChild<QLineEdit*>("PublishHost"), "127.0.0.1");
            QTest::keyClicks(page->findChild<QLineEdit*>("PublishPort"),
                             QString::number(server.port()));
            QTest::keyClicks(page->findChild<QLineEdit*>("PublishUser"), "anonymous");
            QTest::keyClicks(page->findChild<QLineEdit*>("PublishFolder"), "/www/");
            page->findChild<QCheckBox*>("PublishAfterGenerate")->setChecked(true);
            QTest::mouseClick(buttonOf(page, app::kTestConnectionButton), Qt::LeftButton);
            filled = true;
            sheet->accept();
        });
        dialog->onOptions();
        QVERIFY(filled);
        QCOMPARE(model.settings().PublishUrl,
                 "ftp://anonymous@127.0.0.1:" + std::to_string(server.port()) + "/www/");
        QCOMPARE(model.settings().PublishAfterGenerate, 1);
        QCOMPARE(prompts.messages.size(), std::size_t(1));
        QVERIFY2(prompts.messages[0].text.starts_with("Connected and logged in to ftp://"),
                 prompts.messages[0].text.c_str());
        QCOMPARE(prompts.passwordAsked.size(), std::size_t(1));
        QCOMPARE(prompts.passwordAsked[0].rememberText, std::string("Remember this password"));

        // Generate: the site, then the publish under the progress dialog.
        auto watcher = std::make_unique<Watcher>(dialog.get());
        QTest::mouseClick(buttonOf(dialog.get(), app::control::kGenerate), Qt::LeftButton);
        const std::map<std::string, std::string> local = readTree(site);
        QVERIFY(local.size() > 20);
        QCOMPARE(prompts.messages.size(), std::size_t(2));
        QVERIFY2(prompts.messages[1].text.starts_with("Web page generated and published (" +
                                                      std::to_string(local.size()) + " of " +
                                                      std::to_string(local.size()) + " files, "),
                 prompts.messages[1].text.c_str());
        QCOMPARE(prompts.messages[1].kind, app::MessageKind::Information);
        QVERIFY(readTree(server.remoteFolder()) == local);
        QVERIFY(watcher->progressWasShown);
        QCOMPARE(watcher->title, QString("Publishing"));
        QVERIFY2(!watcher->sending.isEmpty(), "the progress dialog named no file being sent");
        QVERIFY2(watcher->ticksWithProgress > 20, "the event loop stood still during the publish");
        QVERIFY2(watcher->paints > 5, "the main dialog did not paint during the publish");
        watcher.reset();
        QVERIFY(QApplication::activeModalWidget() == nullptr);   // the progress dialog closed
        QCOMPARE(prompts.passwordAsked.size(), std::size_t(1));  // the session knew it

        // Remembered in the netrc file, which only its owner reads.
        const std::string netrc = testing::readFile(home + "/.netrc");
        QCOMPARE(netrc, std::string("machine 127.0.0.1 login anonymous password guest\n"));
        struct stat info {};
        QCOMPARE(stat((home + "/.netrc").c_str(), &info), 0);
        QCOMPARE(info.st_mode & 0777, 0600u);

        // A second run of the app: the password comes from the netrc file, nothing is asked,
        // and nothing changed travels.
        const settings::Settings kept = model.settings();
        dialog.reset();
        RecordingPrompts again;
        CGeneratorDlg second(dir / "pairweb", platform, files, again);
        second.model().settings() = kept;
        second.model().updateData(false);
        second.show();
        QTest::mouseClick(buttonOf(&second, app::control::kGenerate), Qt::LeftButton);
        QVERIFY(again.passwordAsked.empty());
        QCOMPARE(again.messages.size(), std::size_t(1));
        QCOMPARE(again.messages[0].text, "Web page generated and published (0 of " +
                                             std::to_string(local.size()) + " files, 0 KB).");
    }
};

}  // namespace
}  // namespace pairweb::ui

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    pairweb::ui::PublishAppTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "publish_app_test.moc"

#include "ui/generator_dlg.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <filesystem>

#include "app/site_text.h"
#include "settings/settings_file.h"
#include "support/test_env.h"
#include "ui/options_sheet.h"
#include "ui/site_text.h"
#include "ui/ui_services.h"
#include "ui_test_support.h"

namespace pairweb::ui {

class GeneratorDlgTest : public QObject {
    Q_OBJECT

  private:
    struct Fixture {
        testing::TempDir dir;
        testing::FixedPlatform platform{dir / "pairweb", 1796652309};
        AnsweringFileDialogs files;
        RecordingPrompts prompts;
        CGeneratorDlg dialog{dir / "pairweb", platform, files, prompts};
        app::GeneratorDialog& model = dialog.model();

        Fixture() {
            dialog.show();
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        }
        template <typename T>
        T* control(const char* name) {
            T* found = dialog.findChild<T*>(QString::fromLatin1(name));
            if (found == nullptr) qFatal("no control %s", name);
            return found;
        }
        void click(int id) { QTest::mouseClick(buttonOf(&dialog, id), Qt::LeftButton); }
        // Replaces the edit's text by typing, one key event per character, as a keyboard
        // with these letters would send them.
        void type(const char* name, const QString& text) {
            QLineEdit* edit = control<QLineEdit>(name);
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Delete);
            for (const QChar c : text) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(edit, &press);
            }
        }
    };

  private slots:
    void startsWithTheDefaults() {
        Fixture f;
        QCOMPARE(f.dialog.windowTitle(), QString("PAIRWEB"));
        QCOMPARE(f.control<QLineEdit>("strFilename")->text(),
                 QString("TRN filename: please select"));
        QCOMPARE(f.control<QLineEdit>("OutputIndex")->text(), QString("Website homepage"));
        QCOMPARE(f.control<QLineEdit>("TourneyName")->text(),
                 QString("Tournament Name: please edit"));
        QCOMPARE(f.control<QComboBox>("slot")->currentText(), QString());
        QCOMPARE(f.control<QComboBox>("slot")->count(), 8);
        QCOMPARE(f.model.appTitle(), std::string("pairweb"));
    }

    void typingUpdatesTheSettingsAtOnce() {
        Fixture f;
        f.type("strFilename", "/data/open.trn");
        QCOMPARE(f.model.settings().strFilename, std::string("/data/open.trn"));
        f.type("TourneyName", "County Open");
        QCOMPARE(f.model.settings().TourneyName, std::string("County Open"));
        f.type("OutputIndex", "/www/index.html");
        QCOMPARE(f.model.settings().OutputIndex, std::string("/www/index.html"));
        QCOMPARE(f.model.settings().strFilename, std::string("/data/open.trn"));
    }

    void browseAndOpen() {
        Fixture f;
        f.click(app::control::kBrowse);  // cancelled
        QCOMPARE(f.model.settings().strFilename, std::string("TRN filename: please select"));
        QCOMPARE(f.files.calls.size(), std::size_t(1));
        QCOMPARE(f.files.calls[0].save, false);
        QCOMPARE(f.files.calls[0].request.title,
                 std::string("Select SwissPerfect Tournament file"));
        QCOMPARE(QtFileDialogs::qtFilters(f.files.calls[0].request.filters),
                 QString("Tournament files (*.trn *.trf);;SwissPerfect tables (*.trn);;"
                         "TRF files (*.trf);;All Files (*)"));
        QCOMPARE(f.files.calls[0].request.proposed, std::string());

        f.files.answer = "/data/open.trn";
        f.click(app::control::kBrowse);
        QCOMPARE(f.model.settings().strFilename, std::string("/data/open.trn"));
        QCOMPARE(f.control<QLineEdit>("strFilename")->text(), QString("/data/open.trn"));

        f.files.answer.reset();
        f.click(app::control::kOpen);  // cancelled: the proposed name stays
        QCOMPARE(f.files.calls.back().save, true);
        QCOMPARE(f.files.calls.back().request.title, std::string("Select Output index filename"));
        QCOMPARE(f.files.calls.back().request.proposed, std::string("index.html"));
        QCOMPARE(QtFileDialogs::qtFilters(f.files.calls.back().request.filters),
                 QString("HTML files (*.html);;All Files (*)"));
        QCOMPARE(f.model.settings().OutputIndex, std::string("index.html"));
        QCOMPARE(f.control<QLineEdit>("OutputIndex")->text(), QString("index.html"));
        QCOMPARE(f.model.settings().strFilename, std::string("/data/open.trn"));
    }

    void saveThenLoadRestoresEverySetting() {
        Fixture f;
        settings::Settings& s = f.model.settings();
        s.MakePGN = 1;
        s.TextColour1 = 0xFF000000u;
        s.FontFamily = "\"Trebuchet MS\"";
        s.Bye = "free";
        f.type("TourneyName", "County Open");
        f.control<QComboBox>("slot")->setCurrentIndex(0);
        f.click(app::control::kSave);
        QVERIFY(f.prompts.messages.empty());
        QVERIFY(testing::fileExists(f.dir / "pairweb1.cfg"));
        const settings::Settings saved = s;

        Fixture fresh;
        std::filesystem::copy_file(f.dir / "pairweb1.cfg", fresh.dir / "pairweb1.cfg");
        QTest::keyClicks(fresh.control<QComboBox>("slot")->lineEdit(), "1");
        fresh.click(app::control::kLoad);
        QVERIFY(fresh.prompts.messages.empty());
        QVERIFY(fresh.model.settings() == saved);
        QCOMPARE(fresh.control<QLineEdit>("TourneyName")->text(), QString("County Open"));
    }

    void loadingAMissingSlotChangesNothing() {
        Fixture f;
        f.type("TourneyName", "Kept");
        const settings::Settings before = f.model.settings();
        QTest::keyClicks(f.control<QComboBox>("slot")->lineEdit(), "club night");
        f.click(app::control::kLoad);
        QCOMPARE(f.prompts.messages.size(), std::size_t(1));
        QCOMPARE(f.prompts.messages[0].caption, std::string("pairweb"));
        QCOMPARE(f.prompts.messages[0].text, std::string("That preference file does not exist!"));
        QVERIFY(f.model.settings() == before);
        QCOMPARE(f.model.settingsPath(), f.dir / "pairwebclub night.cfg");
    }

    void failedSaveIsReported() {
        Fixture f;
        std::filesystem::create_directory(f.dir / "pairweb2.cfg");
        f.control<QComboBox>("slot")->setCurrentIndex(1);
        f.click(app::control::kSave);
        QCOMPARE(f.prompts.messages.size(), std::size_t(1));
        QVERIFY(f.prompts.messages[0].text.starts_with("The settings could not be saved"));
        QCOMPARE(f.prompts.messages[0].kind, app::MessageKind::Warning);
    }

    void generateShowsTheDriversMessage() {
        Fixture f;
        f.click(app::control::kGenerate);
        QCOMPARE(f.prompts.messages.size(), std::size_t(1));
        QCOMPARE(f.prompts.messages[0].caption, std::string("pairweb"));
        QCOMPARE(f.prompts.messages[0].text,
                 std::string("Error: please select a valid .trn file."));
        QVERIFY(f.dialog.isVisible());
    }

    void generatesTheSampleSite() {
        Fixture f;
        std::filesystem::create_directories(f.dir / "site");
        f.type("strFilename", QString(PAIRWEB_SOURCE_DIR) + "/samples/round_robin.trn");
        f.type("OutputIndex", QString::fromStdString(f.dir / "site/index.html"));
        f.type("TourneyName", "Sample Round-Robin");
        f.click(app::control::kGenerate);
        QCOMPARE(f.prompts.messages.size(), std::size_t(1));
        QCOMPARE(f.prompts.messages[0].text, std::string("Web page generated!"));
        QVERIFY(testing::fileExists(f.dir / "site/crosstable.html"));
        QVERIFY(testing::readFile(f.dir / "site/contents.html").find("Sample Round-Robin") !=
                std::string::npos);
    }

    // Texts of the site are Windows-1252 bytes from the edit to the page, the PGN file and
    // the settings file, and back from a settings file into the edit.
    void siteTextsAreWindows1252() {
        Fixture f;
        std::filesystem::create_directories(f.dir / "site");
        const std::string trn = std::string(PAIRWEB_SOURCE_DIR) + "/samples/round_robin.trn";
        f.type("strFilename", QString::fromStdString(trn));
        f.type("OutputIndex", QString::fromStdString(f.dir / "site/index.html"));
        f.model.settings().MakePGN = 1;
        f.type("TourneyName", QString::fromUtf8("K\u00f6ln Open \u2013 2026"));
        const std::string title = "K\xF6ln Open \x96 2026";
        QCOMPARE(f.model.settings().TourneyName, title);
        f.click(app::control::kGenerate);
        QCOMPARE(f.prompts.messages.back().text, std::string("Web page generated!"));
        const std::string toptitle =
            "<tr><td class=\"toptitle\" colspan=4 align=center>" + title + "</td></tr>";
        QCOMPARE(testing::crlfLines(testing::readFile(f.dir / "site/contents.html"))[7], toptitle);
        QCOMPARE(testing::crlfLines(testing::readFile(f.dir / "site/pgn/round1.pgn"))[0],
                 "[Event \"" + title + "\"]");
        f.control<QComboBox>("slot")->setCurrentIndex(0);
        f.click(app::control::kSave);
        QVERIFY(
            testing::readFile(f.dir / "pairweb1.cfg").find("\r\nTourneyName [" + title + "]\r\n") !=
            std::string::npos);

        // A file written by pairweb-gen's users in Windows-1252 loads and generates unchanged.
        Fixture other;
        std::filesystem::create_directories(other.dir / "site");
        testing::writeFile(other.dir / "pairweb2.cfg", "strFilename [" + trn +
                                                           "]\r\nOutputIndex [" +
                                                           (other.dir / "site/index.html") +
                                                           "]\r\nTourneyName [K\xF6ln Open]\r\n");
        other.control<QComboBox>("slot")->setCurrentIndex(1);
        other.click(app::control::kLoad);
        QCOMPARE(other.control<QLineEdit>("TourneyName")->text(),
                 QString::fromUtf8("K\u00f6ln Open"));
        other.click(app::control::kGenerate);
        QCOMPARE(testing::crlfLines(testing::readFile(other.dir / "site/contents.html"))[7],
                 std::string(
                     "<tr><td class=\"toptitle\" colspan=4 align=center>K\xF6ln Open</td></tr>"));
    }

    void charactersWindows1252LacksAreRefusedWithANote() {
        Fixture f;
        f.type("TourneyName", QString::fromUtf8("Open \u010c"));  // "Č" is refused
        QCOMPARE(f.control<QLineEdit>("TourneyName")->text(), QString("Open "));
        QCOMPARE(f.control<QLineEdit>("TourneyName")->property(kRefusalNoteProperty).toString(),
                 QString::fromStdString(app::refusalNote(0x10C)));
        QPlainTextEdit disclaimer;
        guardSiteText(&disclaimer);
        disclaimer.setPlainText(QString::fromUtf8("Results \u2192 final\n\u20ac 5"));
        QCOMPARE(disclaimer.toPlainText(), QString::fromUtf8("Results  final\n\u20ac 5"));
        QCOMPARE(disclaimer.property(kRefusalNoteProperty).toString(),
                 QString::fromStdString(app::refusalNote(0x2192)));
    }

    void browseOffersTheEventsOwnName() {
        Fixture f;
        testing::writeFile(f.dir / "open.ini",
                           "[Pairing]\r\nName=not this\r\n"
                           "[Tournament Info]\r\nName=K\xF6ln Open\r\nRounds=7\r\n");
        testing::writeFile(f.dir / "other.ini", "[Tournament Info]\r\nName=Other\r\n");
        f.files.answer = f.dir / "open.trn";
        f.click(app::control::kBrowse);  // the title shows its prompt: filled
        QCOMPARE(f.control<QLineEdit>("TourneyName")->text(), QString::fromUtf8("K\u00f6ln Open"));
        f.files.answer = f.dir / "other.trn";
        f.click(app::control::kBrowse);  // a title is there now: kept
        QCOMPARE(f.model.settings().TourneyName, std::string("K\xF6ln Open"));
        f.type("TourneyName", "");
        f.files.answer = f.dir / "none.trn";
        f.click(app::control::kBrowse);  // no ini: nothing changes
        QCOMPARE(f.model.settings().TourneyName, std::string());
    }

    void okGeneratesThenCloses() {
        Fixture f;
        f.click(app::control::kOk);
        QCOMPARE(f.prompts.messages.size(), std::size_t(1));
        QCOMPARE(f.prompts.messages[0].text,
                 std::string("Error: please select a valid .trn file."));
        QVERIFY(!f.dialog.isVisible());
        QCOMPARE(f.dialog.result(), int(QDialog::Accepted));
    }

    void optionsSheetCancelledChangesNothing() {
        Fixture f;
        const settings::Settings before = f.model.settings();
        bool sawSheet = false;
        whenModalOpens([&sawSheet](QWidget* modal) {
            sawSheet = qobject_cast<COptionsSheet*>(modal) != nullptr;
            qobject_cast<QDialog*>(modal)->reject();
        });
        f.click(app::control::kOptions);
        QVERIFY(sawSheet);
        QVERIFY(f.model.settings() == before);
    }

    // Tab goes Browse, its edit, Open, its edit, the title, Options, Generate, the slot
    // controls, OK, Cancel.
    void tabOrderFollowsTheDialog() {
        Fixture f;
        QWidget* w = buttonOf(&f.dialog, app::control::kBrowse);
        QStringList seen;
        for (int k = 0; k < 12; ++k) {
            const QVariant id = w->property("controlId");
            seen << QString::number(id.toInt());
            w = w->nextInFocusChain();
            while (!w->property("controlId").isValid()) w = w->nextInFocusChain();
        }
        QCOMPARE(seen, QStringList({"1041", "1000", "1040", "1001", "1014", "1036", "1039", "1021",
                                    "1037", "1038", "1", "2"}));
    }

    void errorsWarnAndSuccessInforms() {
        QtPrompts real;
        const std::pair<app::MessageKind, QMessageBox::Icon> cases[] = {
            {app::MessageKind::Warning, QMessageBox::Warning},
            {app::MessageKind::Information, QMessageBox::Information}};
        for (const auto& [kind, icon] : cases) {
            QMessageBox::Icon shown = QMessageBox::NoIcon;
            whenModalOpens([&shown](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                if (box == nullptr) return;
                shown = box->icon();
                box->accept();
            });
            real.message("pairweb", "text", kind);
            QCOMPARE(shown, icon);
        }
    }

    void aboutBox() {
        Fixture f;
        QString title;
        QString text;
        whenModalOpens([&](QWidget* modal) {
            title = modal->windowTitle();
            text = modal->findChild<QLabel*>("aboutText")->text();
            qobject_cast<QDialog*>(modal)->accept();
        });
        f.click(app::control::kAbout);
        QCOMPARE(title, QString("About pairweb"));
        QVERIFY(text.endsWith("Version 1.0.3"));
    }
};

}  // namespace pairweb::ui

#include "generator_dlg_test.moc"

int runGeneratorDlgTest(int argc, char** argv) {
    pairweb::ui::GeneratorDlgTest test;
    return QTest::qExec(&test, argc, argv);
}

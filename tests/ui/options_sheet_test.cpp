#include "ui/options_sheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QtTest>

#include "ui/colour_picker.h"
#include "ui/colour_popup.h"
#include "ui_test_support.h"

namespace pairweb::ui {

class OptionsSheetTest : public QObject {
    Q_OBJECT

  private:
    template <typename T>
    static T* control(COptionsSheet& sheet, const char* name) {
        T* found = sheet.findChild<T*>(QString::fromLatin1(name));
        if (found == nullptr) qFatal("no control %s", name);
        return found;
    }
    // A click on the box itself (the widget may be wider than its box and text).
    static void clickCheckBox(QCheckBox* box) {
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
    // The sheet open on settings; store() copies what its pages hold back.
    struct Shown {
        RecordingPrompts prompts;
        app::OptionsSheet state;
        COptionsSheet sheet;
        explicit Shown(const settings::Settings& s) : state(s), sheet(state, prompts) {
            sheet.show();
            if (!QTest::qWaitForWindowExposed(&sheet)) qFatal("sheet not shown");
        }
        void store(settings::Settings& s) const { state.store(s); }
    };

  private slots:
    void sevenPagesInTabOrder() {
        Shown shown{settings::Settings{}};
        COptionsSheet& sheet = shown.sheet;
        QStringList titles;
        for (int k = 0; k < sheet.tabs()->count(); ++k) titles << sheet.tabs()->tabText(k);
        QCOMPARE(titles, QStringList({"Options", "Colours", "Tiebreaks", "Fonts", "Labels", "PGN",
                                      "Publish"}));
        // OK and Cancel only, besides the pages' own buttons: the colours, the password and
        // the Publish page's two.
        int sheetButtons = 0;
        for (QPushButton* b : sheet.findChildren<QPushButton*>()) {
            if (qobject_cast<CColourPicker*>(b) == nullptr && !b->property("controlId").isValid()) {
                ++sheetButtons;
            }
        }
        QCOMPARE(sheetButtons, 2);
        QCOMPARE(buttonOf(sheet.page(5), app::kSetPasswordButton)->text(),
                 QString("Set admin password..."));
        QCOMPARE(buttonOf(sheet.page(app::kPublishPage), app::kTestConnectionButton)->text(),
                 QString("Test connection"));
        QCOMPARE(buttonOf(sheet.page(app::kPublishPage), app::kForgetPasswordButton)->text(),
                 QString("Forget password"));
    }

    // The protocol is a list in its own order; FTP without encryption shows its note; the
    // parts typed go back as one address; the buttons act on what the page shows.
    void publishPageEditsTheAddress() {
        settings::Settings s;
        s.PublishUrl = "sftp://club@ssh.example.org:2222/~/www/";
        Shown shown(s);
        COptionsSheet& sheet = shown.sheet;
        sheet.tabs()->setCurrentIndex(app::kPublishPage);
        auto* protocol = control<QComboBox>(sheet, "PublishProtocol");
        QVERIFY(!protocol->isEditable());
        QStringList entries;
        for (int k = 0; k < protocol->count(); ++k) entries << protocol->itemText(k);
        QCOMPARE(entries, QStringList({"FTP with TLS", "SFTP", "FTP without encryption"}));
        QCOMPARE(protocol->currentText(), QString("SFTP"));
        QCOMPARE(control<QLineEdit>(sheet, "PublishPort")->text(), QString("2222"));
        QCOMPARE(control<QLineEdit>(sheet, "PublishFolder")->text(), QString("/~/www/"));
        QWidget* note = sheet.page(app::kPublishPage)->control(app::kPlainFtpNote);
        QVERIFY(note != nullptr && !note->isVisible());
        protocol->setCurrentIndex(2);
        QVERIFY(note->isVisible());
        std::vector<std::string> tested;
        shown.state.testConnection = [&](settings::Settings& v) {
            tested.push_back(v.PublishUrl);
            v.PublishHostKey = "SHA256:seen";
        };
        auto* host = control<QLineEdit>(sheet, "PublishHost");
        host->selectAll();
        QTest::keyClicks(host, "ftp.example.org");
        control<QLineEdit>(sheet, "PublishPort")->clear();
        QTest::mouseClick(buttonOf(sheet.page(app::kPublishPage), app::kTestConnectionButton),
                          Qt::LeftButton);
        QCOMPARE(tested, std::vector<std::string>{"ftp://club@ftp.example.org/~/www/"});
        QCOMPARE(control<QLineEdit>(sheet, "PublishHostKey")->text(), QString("SHA256:seen"));
        clickCheckBox(control<QCheckBox>(sheet, "PublishAfterGenerate"));
        sheet.accept();
        shown.store(s);
        QCOMPARE(s.PublishUrl, std::string("ftp://club@ftp.example.org/~/www/"));
        QCOMPARE(s.PublishPlainFtp, 1);
        QCOMPARE(s.PublishAfterGenerate, 1);
        QCOMPARE(s.PublishHostKey, std::string("SHA256:seen"));
    }

    void comboBoxesAreSortedAndEditable() {
        Shown shown{settings::Settings{}};
        COptionsSheet& sheet = shown.sheet;
        auto* font = control<QComboBox>(sheet, "FontFamily");
        QStringList items;
        for (int k = 0; k < font->count(); ++k) items << font->itemText(k);
        QCOMPARE(items.size(), qsizetype(15));
        QVERIFY(items.contains("\"Times New Roman\""));
        QVERIFY(items.contains("\"Comic Sans MS\""));
        QStringList sorted = items;
        sorted.sort();
        QCOMPARE(items, sorted);
        QVERIFY(font->isEditable());
        auto* size = control<QComboBox>(sheet, "TextSize");
        QCOMPARE(size->count(), 10);
        QStringList sizes;
        for (int k = 0; k < size->count(); ++k) sizes << size->itemText(k);
        QVERIFY(sizes.contains("8px") && sizes.contains("26px"));
        auto* tb = control<QComboBox>(sheet, "ThirdTB");
        QStringList names;
        for (int k = 0; k < tb->count(); ++k) names << tb->itemText(k);
        QCOMPARE(names,
                 QStringList({"Buchholz", "MBuchholz", "Num Wins", "Start Rank", "Sum Prog"}));
        auto* type = control<QComboBox>(sheet, "TourneyType");
        QCOMPARE(type->itemText(0), QString("Round-Robin"));
    }

    void openedAndCancelledChangesNothing() {
        settings::Settings s;
        s.TourneyType = "whatever";
        s.TextColour1 = 0x123456;
        s.Disclaimer = "line one\r\nline two";
        const settings::Settings before = s;
        Shown shown(s);
        COptionsSheet& sheet = shown.sheet;
        for (int k = 0; k < app::kOptionPageCount; ++k) {
            sheet.tabs()->setCurrentIndex(k);  // visit every page
        }
        sheet.reject();
        shown.store(s);
        QVERIFY(s == before);
    }

    void typedSizeReachesTheSettingsAsTyped() {
        settings::Settings s;
        Shown shown(s);
        COptionsSheet& sheet = shown.sheet;
        sheet.tabs()->setCurrentIndex(3);
        auto* size = control<QComboBox>(sheet, "TextSize");
        size->lineEdit()->selectAll();
        QTest::keyClicks(size->lineEdit(), "13");
        sheet.accept();
        shown.store(s);
        QCOMPARE(s.TextSize, std::string("13"));
    }

    // Typed text is stored as typed: no completion ("Num" is not "Num Wins"), no re-casing.
    void comboBoxesKeepTypedTextExactly() {
        settings::Settings s;
        Shown shown(s);
        const std::pair<int, const char*> typed[] = {
            {0, "TourneyType"}, {2, "FirstTB"}, {3, "TopSize"}};
        const char* texts[] = {"round-robin", "Num", "1"};
        for (int k = 0; k < 3; ++k) {
            shown.sheet.tabs()->setCurrentIndex(typed[k].first);
            auto* combo = control<QComboBox>(shown.sheet, typed[k].second);
            combo->lineEdit()->selectAll();
            QTest::keyClicks(combo->lineEdit(), texts[k]);
            QTest::keyClick(combo->lineEdit(), Qt::Key_Return);
            QCOMPARE(combo->currentText(), QString(texts[k]));
        }
        shown.sheet.accept();
        shown.store(s);
        QCOMPARE(s.TourneyType, std::string("round-robin"));
        QCOMPARE(s.FirstTB, std::string("Num"));
        QCOMPARE(s.TopSize, std::string("1"));
    }

    void cancelDropsOnlyTheShownPagesEdits() {
        settings::Settings s;
        Shown shown(s);
        COptionsSheet& sheet = shown.sheet;
        // Page Options: edited, then left for Labels: committed.
        clickCheckBox(control<QCheckBox>(sheet, "DisplayTitles"));
        sheet.tabs()->setCurrentIndex(4);
        auto* bye = control<QLineEdit>(sheet, "Bye");
        bye->selectAll();
        QTest::keyClicks(bye, "free");  // on the page shown at Cancel: dropped
        sheet.reject();
        shown.store(s);
        QCOMPARE(s.DisplayTitles, 1);
        QCOMPARE(s.Bye, std::string("bye"));
    }

    void okCommitsTheShownPage() {
        settings::Settings s;
        Shown shown(s);
        COptionsSheet& sheet = shown.sheet;
        sheet.tabs()->setCurrentIndex(5);
        clickCheckBox(control<QCheckBox>(sheet, "MakePGN"));
        QTest::keyClicks(control<QLineEdit>(sheet, "FnamePrefix"), "open");
        sheet.accept();
        shown.store(s);
        QCOMPARE(s.MakePGN, 1);
        QCOMPARE(s.FnamePrefix, std::string("open"));
    }

    void chosenColourSurvivesCancel() {
        settings::Settings s;
        Shown shown(s);
        COptionsSheet& sheet = shown.sheet;
        sheet.tabs()->setCurrentIndex(1);
        auto* button = control<CColourPicker>(sheet, "BGColourTable");
        QCOMPARE(button->colour(), 0xFFEAEAu);
        QCOMPARE(button->state().defaultText(), std::string("Select table BG colour"));
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->popup() != nullptr);
        QCOMPARE(button->popup()->selection().current(), 2);  // #EAEAFF is in the palette
        QTest::keyClick(button->popup(), Qt::Key_Right);
        QTest::keyClick(button->popup(), Qt::Key_Return);
        sheet.reject();
        shown.store(s);
        QCOMPARE(s.BGColourTable, app::paletteCells()[3].colour);
    }

    void disclaimerKeepsLineBreaksAsCrLf() {
        settings::Settings s;
        Shown shown(s);
        COptionsSheet& sheet = shown.sheet;
        auto* disclaimer = control<QPlainTextEdit>(sheet, "Disclaimer");
        disclaimer->setFocus();
        QTest::keyClicks(disclaimer, "Provisional");
        QTest::keyClick(disclaimer, Qt::Key_Return);
        QTest::keyClicks(disclaimer, "results");
        sheet.accept();
        shown.store(s);
        QCOMPARE(s.Disclaimer, std::string("Provisional\r\nresults"));
    }
};

}  // namespace pairweb::ui

#include "options_sheet_test.moc"

int runOptionsSheetTest(int argc, char** argv) {
    pairweb::ui::OptionsSheetTest test;
    return QTest::qExec(&test, argc, argv);
}

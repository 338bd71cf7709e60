#include "ui/colour_picker.h"

#include <QSignalSpy>
#include <QtTest>

#include "ui/colour_popup.h"
#include "ui_test_support.h"

namespace pairweb::ui {

class ColourPickerTest : public QObject {
    Q_OBJECT

  private:
    // A picker in a shown window, opened on colour.
    struct Opened {
        RecordingPrompts prompts;
        QWidget window;
        CColourPicker* picker = nullptr;
        CColourPopup* popup = nullptr;
    };
    // The picker in its shown window, not opened yet.
    static void create(Opened& o, std::uint32_t colour) {
        o.picker = new CColourPicker(QStringLiteral("Text Colour"), 1002, o.prompts, &o.window);
        o.picker->setColour(colour);
        o.window.resize(300, 100);
        o.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&o.window));
    }
    static void click(Opened& o) {
        QTest::mouseClick(o.picker, Qt::LeftButton);
        o.popup = o.picker->popup();
        QVERIFY(o.popup != nullptr);
    }
    static void open(Opened& o, std::uint32_t colour) {
        create(o, colour);
        click(o);
    }

  private slots:
    void opensBelowTheButtonWithTheInitialSelection() {
        Opened o;
        create(o, 0x123456);
        QSignalSpy closeUp(o.picker, &CColourPicker::closeUp);
        click(o);
        QCOMPARE(closeUp.count(), 0);  // open: nothing said yet
        QCOMPARE(o.popup->selection().current(), app::kCustomBox);
        QCOMPARE(o.popup->selection().chosen(), app::kCustomBox);
        QCOMPARE(o.popup->geometry().topLeft(),
                 o.picker->mapToGlobal(o.picker->rect().bottomLeft()));
        QVERIFY(o.picker->state().active());
        QCOMPARE(o.popup->itemRect(0).size(), QSize(18, 18));
        QCOMPARE(o.popup->itemRect(9).topLeft() - o.popup->itemRect(0).topLeft(), QPoint(18, 18));
    }

    void arrowsThenEscapeRestoreTheInitialColour() {
        Opened o;
        open(o, 0x000000);  // black: cell 0
        QSignalSpy closeUp(o.picker, &CColourPicker::closeUp);
        QTest::keyClick(o.popup, Qt::Key_Right);
        QTest::keyClick(o.popup, Qt::Key_Down);
        QCOMPARE(o.popup->selection().current(), 9);
        QCOMPARE(o.popup->selection().colour(), app::paletteCells()[9].colour);
        QCOMPARE(o.picker->colour(), 0x000000u);  // the button takes a colour at the end only
        QTest::keyClick(o.popup, Qt::Key_Escape);
        QCOMPARE(o.picker->colour(), 0x000000u);
        QCOMPARE(closeUp.count(), 1);
        QCOMPARE(closeUp.at(0).at(0).value<std::uint32_t>(), 0x000000u);
        QCOMPARE(closeUp.at(0).at(1).toInt(), 1002);
        QVERIFY(!o.picker->state().active());
        QTRY_VERIFY(o.picker->popup() == nullptr);
    }

    void enterAcceptsTheCurrentCell() {
        Opened o;
        open(o, 0x000000);
        QSignalSpy ended(o.picker, &CColourPicker::closeUp);
        QTest::keyClick(o.popup, Qt::Key_Left);   // to the default box
        QTest::keyClick(o.popup, Qt::Key_Right);  // back to the first cell
        QTest::keyClick(o.popup, Qt::Key_Right);
        QTest::keyClick(o.popup, Qt::Key_Return);
        QCOMPARE(o.picker->colour(), 0x800000u);
        QCOMPARE(ended.count(), 1);
        QCOMPARE(ended.at(0).at(0).value<std::uint32_t>(), 0x800000u);
    }

    void defaultBoxStoresTheAutomaticColour() {
        Opened o;
        open(o, 0x800000);
        QTest::keyClick(o.popup, Qt::Key_Up);  // from the top row to the default box
        QCOMPARE(o.popup->selection().current(), app::kDefaultBox);
        QTest::keyClick(o.popup, Qt::Key_Space);
        QCOMPARE(o.picker->colour(), app::kAutomaticColour);
    }

    void customBoxOpensTheColourDialogAtTheInitialColour() {
        Opened o;
        o.prompts.colourAnswer = 0x563412u;
        open(o, 0x0000FF);  // red, not in the palette: the custom box is current
        QTest::keyClick(o.popup, Qt::Key_Return);
        QCOMPARE(o.prompts.colourDialogStarts.size(), std::size_t(1));
        QCOMPARE(o.prompts.colourDialogStarts[0], 0x0000FFu);
        QCOMPARE(o.picker->colour(), 0x563412u);

        Opened again;  // the dialog is cancelled
        open(again, 0x0000FF);
        QSignalSpy cancelled(again.picker, &CColourPicker::closeUp);
        QTest::keyClick(again.popup, Qt::Key_Return);
        QCOMPARE(again.picker->colour(), 0x0000FFu);
        QCOMPARE(cancelled.count(), 1);
        QCOMPARE(cancelled.at(0).at(0).value<std::uint32_t>(), 0x0000FFu);
    }

    void mouseReleaseInsideAcceptsOutsideCancels() {
        Opened o;
        open(o, 0x000000);
        const QPoint cell = o.popup->itemRect(10).center();
        QTest::mouseMove(o.popup, cell);
        QTRY_COMPARE(o.popup->selection().current(), 10);
        QTest::mouseRelease(o.popup, Qt::LeftButton, {}, cell);
        QCOMPARE(o.picker->colour(), app::paletteCells()[10].colour);

        Opened other;
        open(other, 0x000000);
        QSignalSpy cancelled(other.picker, &CColourPicker::closeUp);
        QTest::mouseRelease(other.popup, Qt::LeftButton, {},
                            QPoint(other.popup->width() + 40, other.popup->height() + 40));
        QCOMPARE(cancelled.count(), 1);
        QCOMPARE(other.picker->colour(), 0x000000u);
    }

    void staysOnTheScreenAtItsEdges() {
        RecordingPrompts prompts;
        QWidget window;
        window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        auto* picker = new CColourPicker(QStringLiteral("Colour"), 1, prompts, &window);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        picker->setGeometry(window.width() - 40, window.height() - 24, 40, 24);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        picker->openPopup();
        CColourPopup* popup = picker->popup();
        QVERIFY(popup != nullptr);
        QVERIFY2(area.contains(popup->geometry()), "palette leaves the screen");
        QVERIFY(popup->geometry().bottom() < picker->mapToGlobal(QPoint(0, 0)).y());
        QTest::keyClick(popup, Qt::Key_Escape);
    }
};

}  // namespace pairweb::ui

#include "colour_picker_test.moc"

int runColourPickerTest(int argc, char** argv) {
    pairweb::ui::ColourPickerTest test;
    return QTest::qExec(&test, argc, argv);
}

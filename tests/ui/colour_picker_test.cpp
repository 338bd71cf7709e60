#include <QSignalSpy>
#include <QtTest>

#include "ui/colour_picker.h"
#include "ui/colour_popup.h"
#include "ui_test_support.h"

namespace pairweb::ui {

class ColourPickerTest : public QObject {
    Q_OBJECT

private:
    // A picker in a shown window, opened on colour.
    struct Opened {
        QWidget window;
        CColourPicker* picker = nullptr;
        CColourPopup* popup = nullptr;
    };
    static void open(Opened& o, std::uint32_t colour, const QString& defaultText = "Automatic",
                     const QString& customText = "More Colours...") {
        o.picker = new CColourPicker(QStringLiteral("Text Colour"), 1002, &o.window);
        o.picker->setDefaultText(defaultText);
        o.picker->setCustomText(customText);
        o.picker->setColour(colour);
        o.window.resize(300, 100);
        o.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&o.window));
        QTest::mouseClick(o.picker, Qt::LeftButton);
        o.popup = o.picker->popup();
        QVERIFY(o.popup != nullptr);
    }

private slots:
    void paletteHasTheFortyCellsInOrder() {
        const auto& cells = paletteCells();
        QCOMPARE(cells[0].colour, 0x000000u);
        QCOMPARE(QString(cells[0].name), QString("Black"));
        QCOMPARE(cells[1].colour, 0x800000u);  // #000080
        QCOMPARE(cells[2].colour, 0xFFEAEAu);  // #EAEAFF
        QCOMPARE(cells[8].colour, 0xFFCC00u);  // #00CCFF, first of row 2
        QCOMPARE(cells[39].colour, 0xFFFFFFu);
        QCOMPARE(QString(cells[39].name), QString("White"));
        for (int k = 1; k < 39; ++k) QCOMPARE(QString(cells[static_cast<std::size_t>(k)].name), QString());
    }

    void keyboardMovesWrapAsTheTableSays_data() {
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("hasDefault");
        QTest::addColumn<bool>("hasCustom");
        QTest::addColumn<int>("to");
        const int L = Qt::Key_Left, R = Qt::Key_Right, U = Qt::Key_Up, D = Qt::Key_Down;
        const int def = kDefaultBox, cus = kCustomBox;
        struct Row { const char* name; int from, key; bool d, c; int to; };
        const Row rows[] = {
            {"left within a row", 5, L, true, true, 4},
            {"left wraps to previous row", 8, L, true, true, 7},
            {"left from first to default", 0, L, true, true, def},
            {"left from first to custom", 0, L, false, true, cus},
            {"left from first to last", 0, L, false, false, 39},
            {"left from default to custom", def, L, true, true, cus},
            {"left from default to last", def, L, true, false, 39},
            {"left from custom to last", cus, L, true, true, 39},
            {"right within a row", 4, R, true, true, 5},
            {"right wraps to next row", 7, R, true, true, 8},
            {"right past last to custom", 39, R, true, true, cus},
            {"right past last to default", 39, R, true, false, def},
            {"right past last to first", 39, R, false, false, 0},
            {"right from default to first", def, R, true, true, 0},
            {"right from custom to default", cus, R, true, true, def},
            {"right from custom to first", cus, R, false, true, 0},
            {"up one row", 12, U, true, true, 4},
            {"up from top row to default", 3, U, true, true, def},
            {"up from top row to custom", 3, U, false, true, cus},
            {"up from top row to last", 3, U, false, false, 39},
            {"up from default to custom", def, U, true, true, cus},
            {"up from default to last", def, U, true, false, 39},
            {"up from custom to last", cus, U, true, true, 39},
            {"down one row", 4, D, true, true, 12},
            {"down from bottom row to custom", 33, D, true, true, cus},
            {"down from bottom row to default", 33, D, true, false, def},
            {"down from bottom row to first", 33, D, false, false, 0},
            {"down from custom to default", cus, D, true, true, def},
            {"down from custom to first", cus, D, false, true, 0},
            {"down from default to first", def, D, true, true, 0},
        };
        for (const Row& r : rows) {
            QTest::newRow(r.name) << r.from << r.key << r.d << r.c << r.to;
        }
    }
    void keyboardMovesWrapAsTheTableSays() {
        QFETCH(int, from);
        QFETCH(int, key);
        QFETCH(bool, hasDefault);
        QFETCH(bool, hasCustom);
        QFETCH(int, to);
        QCOMPARE(moveSelection(from, key, hasDefault, hasCustom), to);
    }

    void initialSelectionRule() {
        QCOMPARE(initialSelection(kAutomaticColour, true, true), kDefaultBox);
        QCOMPARE(initialSelection(kAutomaticColour, false, true), kCustomBox);
        QCOMPARE(initialSelection(kAutomaticColour, false, false), kNoItem);
        QCOMPARE(initialSelection(0xFFFFFF, true, true), 5);  // the first white cell
        QCOMPARE(initialSelection(0x123456, true, true), kCustomBox);  // not in the palette
        QCOMPARE(initialSelection(0x123456, true, false), kNoItem);
    }

    void opensBelowTheButtonWithTheInitialSelection() {
        Opened o;
        QSignalSpy dropDown(o.picker, &CColourPicker::dropDown);
        open(o, 0x123456);
        QCOMPARE(o.popup->currentIndex(), kCustomBox);
        QCOMPARE(o.popup->chosenIndex(), kCustomBox);
        QCOMPARE(o.popup->geometry().topLeft(), o.picker->mapToGlobal(o.picker->rect().bottomLeft()));
        QVERIFY(o.picker->isActive());
        QCOMPARE(o.popup->itemRect(0).size(), QSize(18, 18));
        QCOMPARE(o.popup->itemRect(9).topLeft() - o.popup->itemRect(0).topLeft(), QPoint(18, 18));
        Q_UNUSED(dropDown);
    }

    void arrowsThenEscapeRestoreTheInitialColour() {
        Opened o;
        open(o, 0x000000);  // black: cell 0
        QSignalSpy changed(o.picker, &CColourPicker::selectionChanged);
        QSignalSpy cancelled(o.picker, &CColourPicker::selectionCancelled);
        QSignalSpy closeUp(o.picker, &CColourPicker::closeUp);
        o.picker->setTrackSelection(true);
        QTest::keyClick(o.popup, Qt::Key_Right);
        QTest::keyClick(o.popup, Qt::Key_Down);
        QCOMPARE(o.popup->currentIndex(), 9);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1).at(0).value<std::uint32_t>(), paletteCells()[9].colour);
        QCOMPARE(changed.at(1).at(1).toInt(), 1002);
        QCOMPARE(o.picker->colour(), paletteCells()[9].colour);  // tracking
        QTest::keyClick(o.popup, Qt::Key_Escape);
        QCOMPARE(o.picker->colour(), 0x000000u);
        QCOMPARE(cancelled.count(), 1);
        QCOMPARE(cancelled.at(0).at(0).value<std::uint32_t>(), 0x000000u);
        QCOMPARE(closeUp.count(), 1);
        QVERIFY(!o.picker->isActive());
        QTRY_VERIFY(o.picker->popup() == nullptr);
    }

    void enterAcceptsTheCurrentCell() {
        Opened o;
        open(o, 0x000000);
        QSignalSpy ended(o.picker, &CColourPicker::selectionEnded);
        QTest::keyClick(o.popup, Qt::Key_Left);  // to the default box
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
        QCOMPARE(o.popup->currentIndex(), kDefaultBox);
        QTest::keyClick(o.popup, Qt::Key_Space);
        QCOMPARE(o.picker->colour(), kAutomaticColour);
    }

    void customBoxOpensTheColourDialogAtTheInitialColour() {
        RecordingPrompts prompts;
        prompts.colourAnswer = QColor(0x12, 0x34, 0x56);
        Opened o;
        open(o, 0x0000FF);  // red, not in the palette: the custom box is current
        QTest::keyClick(o.popup, Qt::Key_Return);
        QCOMPARE(prompts.colourDialogStarts.size(), std::size_t(1));
        QCOMPARE(prompts.colourDialogStarts[0], QColor(255, 0, 0));
        QCOMPARE(o.picker->colour(), 0x563412u);

        prompts.colourAnswer.reset();  // the dialog is cancelled
        Opened again;
        open(again, 0x0000FF);
        QSignalSpy cancelled(again.picker, &CColourPicker::selectionCancelled);
        QTest::keyClick(again.popup, Qt::Key_Return);
        QCOMPARE(again.picker->colour(), 0x0000FFu);
        QCOMPARE(cancelled.count(), 1);
    }

    void mouseReleaseInsideAcceptsOutsideCancels() {
        Opened o;
        open(o, 0x000000);
        const QPoint cell = o.popup->itemRect(10).center();
        QTest::mouseMove(o.popup, cell);
        QTRY_COMPARE(o.popup->currentIndex(), 10);
        QTest::mouseRelease(o.popup, Qt::LeftButton, {}, cell);
        QCOMPARE(o.picker->colour(), paletteCells()[10].colour);

        Opened other;
        open(other, 0x000000);
        QSignalSpy cancelled(other.picker, &CColourPicker::selectionCancelled);
        QTest::mouseRelease(other.popup, Qt::LeftButton, {},
                            QPoint(other.popup->width() + 40, other.popup->height() + 40));
        QCOMPARE(cancelled.count(), 1);
        QCOMPARE(other.picker->colour(), 0x000000u);
    }

    void staysOnTheScreenAtItsEdges() {
        QWidget window;
        window.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        auto* picker = new CColourPicker(QStringLiteral("Colour"), 1, &window);
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

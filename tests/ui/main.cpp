// Runs the widget tests, each on the real widgets in the offscreen platform.
#include <QApplication>

int runColourPickerTest(int argc, char** argv);
int runOptionsSheetTest(int argc, char** argv);
int runGeneratorDlgTest(int argc, char** argv);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    int failures = 0;
    failures += runColourPickerTest(argc, argv);
    failures += runOptionsSheetTest(argc, argv);
    failures += runGeneratorDlgTest(argc, argv);
    return failures == 0 ? 0 : 1;
}

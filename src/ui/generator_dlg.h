#pragma once

#include <QDialog>
#include <QString>
#include <map>

#include "app/main_dialog.h"

class QComboBox;
class QLineEdit;

namespace pairweb::ui {

// The program's one window, drawn with Qt; what its controls do is the shared
// GeneratorDialog's.
class CGeneratorDlg : public QDialog, public app::MainDialogControls {
    Q_OBJECT

  public:
    // programPath: the program's own file (settings files and the viewer live beside it).
    CGeneratorDlg(const std::string& programPath, platform::Platform& platform,
                  app::FileDialogs& files, app::Prompts& prompts, QWidget* parent = nullptr);

    app::GeneratorDialog& model() { return m_model; }

    std::string text(int id) const override;
    void setText(int id, const std::string& utf8) override;

    // Runs the options sheet (what "&Options" does).
    void onOptions();

  private:
    app::GeneratorDialog m_model;
    app::Prompts& m_prompts;
    std::map<int, QLineEdit*> m_edits;
    QComboBox* m_slotCombo;
};

// The About box: "About pairweb", a line ending with the version, OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace pairweb::ui

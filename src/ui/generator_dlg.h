#pragma once

#include <QDialog>
#include <QString>

#include "platform/platform.h"
#include "settings/settings.h"
#include "ui/common_dialog.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace pairweb::ui {

// The program's one window: the tournament file, the home page file and the title, the
// options, the settings slots, and the buttons that generate the site.
class CGeneratorDlg : public QDialog {
    Q_OBJECT

public:
    // programPath: the program's own file (settings files and the viewer live beside it);
    // platform: what the generation runs on; files: what shows the file dialogs.
    CGeneratorDlg(QString programPath, platform::Platform& platform, FileDialogBackend& files,
                  QWidget* parent = nullptr);

    settings::Settings& settings() { return m_settings; }
    const QString& slot() const { return m_slot; }
    // Caption of every message box: the program's file name without folder and extension.
    QString appTitle() const;
    // Path of the current slot's settings file.
    QString settingsPath() const;

    // Controls to members (true) or members to controls (false).
    void updateData(bool fromControls);

    // The dialog's commands.
    void onBrowse();
    void onOpen();
    void onOptions();
    void onLoadSettings();
    void onSaveSettings();
    void onGenerate();
    void onOk();
    void onAbout();

private:
    QString m_programPath;
    platform::Platform& m_platform;
    CommonDialog m_fileDialog;
    settings::Settings m_settings;
    QString m_slot;
    bool m_transferring = false;

    QLineEdit* m_trnEdit;
    QLineEdit* m_outputEdit;
    QLineEdit* m_titleEdit;
    QComboBox* m_slotCombo;
};

// The About box: "About pairweb", a line ending "Version 1.0.3", OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);
};

}  // namespace pairweb::ui

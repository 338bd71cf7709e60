#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>

namespace pairweb::ui {

// What shows the file dialogs: Qt's own in the app, an answering stand-in in tests.
class FileDialogBackend {
public:
    virtual ~FileDialogBackend() = default;
    // The chosen path, or nothing when the user cancels. filters are Qt filter strings.
    virtual std::optional<QString> open(QWidget* parent, const QString& title,
                                        const QStringList& filters, const QString& proposed) = 0;
    virtual std::optional<QString> save(QWidget* parent, const QString& title,
                                        const QStringList& filters, const QString& proposed) = 0;
};

// Qt's file dialogs.
class QtFileDialogs : public FileDialogBackend {
public:
    std::optional<QString> open(QWidget* parent, const QString& title, const QStringList& filters,
                                const QString& proposed) override;
    std::optional<QString> save(QWidget* parent, const QString& title, const QStringList& filters,
                                const QString& proposed) override;
};

// The file-dialog control of the main dialog: set its properties, show a dialog, read the
// chosen name back. Its properties persist between uses; a cancelled dialog leaves
// FileName as it was.
class CommonDialog {
public:
    explicit CommonDialog(FileDialogBackend& backend) : m_backend(backend) {}

    void setDialogTitle(const QString& title) { m_title = title; }
    QString dialogTitle() const { return m_title; }
    // Pairs of a description and a pattern, all separated by "|":
    // "Tournament files|*.trn|All Files|*.*".
    void setFilter(const QString& filter) { m_filter = filter; }
    QString filter() const { return m_filter; }
    void setFileName(const QString& name) { m_fileName = name; }
    QString fileName() const { return m_fileName; }

    void ShowOpen(QWidget* parent);
    void ShowSave(QWidget* parent);

    // The filter in Qt's form: "Tournament files (*.trn)", "All Files (*)".
    static QStringList qtFilters(const QString& filter);

private:
    FileDialogBackend& m_backend;
    QString m_title;
    QString m_filter;
    QString m_fileName;
};

}  // namespace pairweb::ui

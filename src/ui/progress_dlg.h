#pragma once

#include <QDialog>
#include <QTimer>

#include "app/background_task.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace pairweb::ui {

// The progress dialog over work on a thread of its own: what is being done, how far it is,
// a bar and Cancel, all from the task's view, looked at on a timer. Its own message loop
// keeps the windows painting. It closes itself when the work has ended; Cancel (and the
// window's close box, and Escape) only ask the work to stop.
class CProgressDlg : public QDialog {
    Q_OBJECT

  public:
    CProgressDlg(app::BackgroundTask& task, QWidget* parent = nullptr);

    // Shows the dialog modally until the task has finished.
    static void run(app::BackgroundTask& task, QWidget* parent);

    void reject() override;

  private:
    void refresh();

    app::BackgroundTask& m_task;
    QLabel* m_action;
    QLabel* m_counts;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    QTimer m_timer;
};

}  // namespace pairweb::ui

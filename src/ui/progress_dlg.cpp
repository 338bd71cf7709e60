#include "ui/progress_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/ui_services.h"

namespace pairweb::ui {

namespace {
constexpr int kRefreshMs = 50;
}  // namespace

CProgressDlg::CProgressDlg(app::BackgroundTask& task, QWidget* parent)
    : QDialog(parent), m_task(task) {
    setObjectName(QStringLiteral("progress"));
    auto* layout = new QVBoxLayout(this);
    m_action = new QLabel(this);
    m_action->setObjectName(QStringLiteral("action"));
    m_counts = new QLabel(this);
    m_counts->setObjectName(QStringLiteral("counts"));
    m_bar = new QProgressBar(this);
    layout->addWidget(m_action);
    layout->addWidget(m_counts);
    layout->addWidget(m_bar);
    auto* buttons = new QDialogButtonBox(this);
    m_cancel = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    connect(buttons, &QDialogButtonBox::rejected, this, &CProgressDlg::reject);
    layout->addWidget(buttons);
    setMinimumWidth(420);
    connect(&m_timer, &QTimer::timeout, this, &CProgressDlg::refresh);
    m_timer.start(kRefreshMs);
    refresh();
}

void CProgressDlg::run(app::BackgroundTask& task, QWidget* parent) {
    CProgressDlg dialog(task, parent);
    dialog.exec();
}

void CProgressDlg::reject() { m_task.cancel(); }

void CProgressDlg::refresh() {
    const app::BackgroundTask::View view = m_task.view();
    setWindowTitle(qs(view.caption));
    m_action->setText(qs(view.action));
    m_counts->setText(qs(view.counts));
    if (view.percent < 0) {
        m_bar->setRange(0, 0);
    } else {
        m_bar->setRange(0, 100);
        m_bar->setValue(view.percent);
    }
    m_cancel->setText(qs(view.cancelText));
    m_cancel->setEnabled(view.canCancel && !view.cancelling);
    if (m_task.finished()) {
        m_timer.stop();
        accept();
    }
}

}  // namespace pairweb::ui

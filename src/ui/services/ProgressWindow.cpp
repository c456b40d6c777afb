#include "ui/services/ProgressWindow.h"

#include "access/MessageService.h"
#include "jobs/Job.h"
#include "text/Picture.h"
#include "ui/services/ModalWindows.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace srk {

ProgressWindow::ProgressWindow(Job& job, MessageService& messages, QWidget* parent)
    : QDialog(parent), m_job(job), m_messages(messages) {
    setWindowTitle(QStringLiteral("Progress..."));

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("textLine"));
    m_text->setVisible(false);
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    m_percent = new QLabel(this);
    m_percent->setObjectName(QStringLiteral("percentLine"));
    m_percent->setAlignment(Qt::AlignCenter);
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cancelButton"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &ProgressWindow::cancelJob);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addWidget(m_percent);
    layout->addWidget(m_cancel, 0, Qt::AlignHCenter);
    setMinimumWidth(260);

    // A slice per tick; the timer is started again only after the slice, so a message box shown by the
    // job (which runs an event loop of its own) never starts a second slice inside the first.
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &ProgressWindow::tick);

    showPercent(0);
}

ProgressWindow::~ProgressWindow() = default;

bool ProgressWindow::run(QWidget* parent, Job& job, const QString& title, const QString& textLine,
                         MessageService& messages) {
    ModalWindow<ProgressWindow> window(job, messages, parent);
    if (!title.isEmpty())
        window->setTitle(title);
    window->setTextLine(textLine);
    window->setModal(true);
    window->begin();
    const ModalResult result = window.exec();
    return !result.gone && window->completed();
}

void ProgressWindow::setTitle(const QString& title) { setWindowTitle(title); }

void ProgressWindow::setTextLine(const QString& text) {
    m_text->setText(text);
    m_text->setVisible(!text.isEmpty());
}

QString ProgressWindow::textLine() const { return m_text->text(); }

QString ProgressWindow::percentLine() const { return m_percent->text(); }

QString ProgressWindow::percentText(int percent) {
    return format(QVariant(qBound(0, percent, 100)), QStringLiteral("@n3")) + QStringLiteral("% Completed");
}

void ProgressWindow::start() {
    show();
    begin();
}

void ProgressWindow::begin() {
    if (m_running)
        return;
    m_running = true;
    m_completed = false;
    m_cancel->setEnabled(true);
    m_timer.start();
}

void ProgressWindow::tick() {
    if (!m_running)
        return;
    const bool more = m_job.step();
    showPercent(m_job.percent());
    if (more)
        m_timer.start();
    else
        finish();
}

void ProgressWindow::finish() {
    m_running = false;
    m_cancel->setEnabled(false);
    m_completed = !m_job.cancelled() && m_job.errorText().isEmpty();
    if (m_completed) {
        showPercent(100);
        m_percent->setText(completedText());
        m_percent->repaint();
    }
    if (!m_job.errorText().isEmpty())
        m_messages.ask({windowTitle(), m_job.errorText(), ButtonOk, ButtonOk});
    Q_EMIT jobFinished(m_completed);
    done(m_completed ? QDialog::Accepted : QDialog::Rejected);
}

void ProgressWindow::cancelJob() {
    if (!m_running)
        return;
    m_job.cancel();
    // A job may ask first and be told to go on.
    m_cancel->setEnabled(!m_job.cancelled());
}

void ProgressWindow::reject() {
    if (m_running)
        cancelJob();
    else
        QDialog::reject();
}

void ProgressWindow::showPercent(int percent) {
    percent = qBound(0, percent, 100);
    // Only a change of the whole number is redrawn.
    if (percent == m_shownPercent)
        return;
    m_shownPercent = percent;
    m_bar->setValue(percent);
    m_percent->setText(percentText(percent));
}

}  // namespace srk

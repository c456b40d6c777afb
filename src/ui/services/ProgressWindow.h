#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace srk {

class Job;
class MessageService;

// The window of a long run: title, an optional text line, a bar, "N% Completed" and "Cancel". It drives
// the job from its own timer, one slice per tick, so the event loop (and every other window) keeps going
// between slices; "Cancel" is passed to the job and honoured between slices. At the end it shows
// "Process Completed" and closes by itself: accepted when the job completed, rejected when it was
// cancelled or failed. A failed job's error text is shown through the message service.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    ProgressWindow(Job& job, MessageService& messages, QWidget* parent = nullptr);
    ~ProgressWindow() override;

    // Runs the job in a modal window and returns true when it completed.
    static bool run(QWidget* parent, Job& job, const QString& title, const QString& textLine,
                    MessageService& messages);

    // Title defaults to "Progress..."; an empty text line is not shown.
    void setTitle(const QString& title);
    void setTextLine(const QString& text);
    QString textLine() const;

    // Shows the window and starts the job without waiting for it; jobFinished tells the end.
    void start();
    bool isRunning() const { return m_running; }
    // True once the job ended without being cancelled and without an error.
    bool completed() const { return m_completed; }
    // What the percentage line shows now.
    QString percentLine() const;

    static QString percentText(int percent);
    static QString completedText() { return QStringLiteral("Process Completed"); }

Q_SIGNALS:
    // The job has ended; the window closes right after this.
    void jobFinished(bool completed);

public Q_SLOTS:
    // Escape and the close box cancel a running job instead of leaving it behind.
    void reject() override;

private:
    void begin();
    void tick();
    void finish();
    void cancelJob();
    void showPercent(int percent);

    Job& m_job;
    MessageService& m_messages;
    QTimer m_timer;
    QLabel* m_text = nullptr;
    QProgressBar* m_bar = nullptr;
    QLabel* m_percent = nullptr;
    QPushButton* m_cancel = nullptr;
    int m_shownPercent = -1;
    bool m_running = false;
    bool m_completed = false;
};

}  // namespace srk

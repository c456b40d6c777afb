#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

namespace srk {

struct ProgramContext;
class Record;

// The disc reading of the windows: the progress window ("Progress...") over the core's reading, shown
// only once the drive has passed its checks, and the checks' failures as message boxes.
class ReadCompactDisc : public QDialog {
    Q_OBJECT
public:
    // Reads the disc in the drive into album (its CDIdentifier, and unless identify-only its TotalTime;
    // the wizard rows of wizardInstance or the saved album's songs are written). True when the disc was
    // read; album is left as it was otherwise, and whenever parent went away during the run.
    static bool run(ProgramContext& context, bool identifyOnly, bool fillWizard, Record& album,
                    qint64 wizardInstance, QWidget* parent);

    // The window of the run in progress (nullptr when none): lets a watcher see what it shows.
    static ReadCompactDisc* current();

    QString caption() const;
    QString statusLine() const;
    QString secondLine() const;
    int percent() const;

    void setCaption(const QString& text);
    void setStatusLine(const QString& text);
    void setSecondLine(const QString& text);
    void setPercent(int percent);

public Q_SLOTS:
    // The reading cannot be stopped half-way; Escape and the close box wait for it.
    void reject() override;

private:
    explicit ReadCompactDisc(QWidget* parent);

    QLabel* m_caption = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_second = nullptr;
    QProgressBar* m_bar = nullptr;
};

}  // namespace srk

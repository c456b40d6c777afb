#include "ui/cd/ReadCompactDisc.h"

#include "access/TableAccess.h"
#include "access/TableUse.h"
#include "catalog/Tables.h"
#include "cd/DiscReading.h"
#include "store/Record.h"
#include "ui/ProgramContext.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QVBoxLayout>

namespace srk {

namespace {

using Window = ReadCompactDisc;

QPointer<Window>& running() {
    static QPointer<Window> window;
    return window;
}

// Hands the core's progress to the window, which may be gone by the time the core reports.
class WindowProgress : public DiscReadingProgress {
public:
    explicit WindowProgress(Window* window) : m_window(window) {}

    void show(const QString& caption) override {
        if (!m_window)
            return;
        m_window->setCaption(caption);
        m_window->show();
        m_window->raise();
    }
    // Each new status line is given a chance to be seen.
    void setStatusLine(const QString& text) override {
        if (!m_window)
            return;
        m_window->setStatusLine(text);
        if (m_window->isVisible())
            letOthersRun();
    }
    void setSecondLine(const QString& text) override {
        if (m_window)
            m_window->setSecondLine(text);
    }
    void setPercent(int percent) override {
        if (m_window)
            m_window->setPercent(percent);
    }
    void letOthersRun() override {
        // The window is application-modal, so nothing can start a second reading meanwhile.
        if (m_window)
            QCoreApplication::processEvents();
    }

private:
    QPointer<Window> m_window;
};

}  // namespace

ReadCompactDisc::ReadCompactDisc(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("ReadCompactDisc"));
    setWindowTitle(QStringLiteral("Progress..."));
    setWindowModality(Qt::ApplicationModal);
    m_caption = new QLabel(this);
    m_caption->setObjectName(QStringLiteral("caption"));
    m_caption->setAlignment(Qt::AlignCenter);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("statusLine"));
    m_second = new QLabel(this);
    m_second->setObjectName(QStringLiteral("secondLine"));
    m_bar = new QProgressBar(this);
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_caption);
    layout->addWidget(m_status);
    layout->addWidget(m_second);
    layout->addWidget(m_bar);
    setMinimumWidth(260);
}

Window* ReadCompactDisc::current() { return running().data(); }

QString ReadCompactDisc::caption() const { return m_caption->text(); }
QString ReadCompactDisc::statusLine() const { return m_status->text(); }
QString ReadCompactDisc::secondLine() const { return m_second->text(); }
int ReadCompactDisc::percent() const { return m_bar->value(); }

void ReadCompactDisc::setCaption(const QString& text) { m_caption->setText(text); }
void ReadCompactDisc::setStatusLine(const QString& text) { m_status->setText(text); }
void ReadCompactDisc::setSecondLine(const QString& text) { m_second->setText(text); }
void ReadCompactDisc::setPercent(int percent) { m_bar->setValue(qBound(0, percent, 100)); }

void ReadCompactDisc::reject() {}

bool ReadCompactDisc::run(ProgramContext& context, bool identifyOnly, bool fillWizard, Record& album,
                          qint64 wizardInstance, QWidget* parent) {
    // A second click that slips through while the first reading lets other windows run.
    if (running())
        return false;
    TableAccess& access = *context.access;
    TableUse use(access);
    for (const TableDef* def : {&albumTable(), &songsTable(), &addWizardTable()})
        if (!use.open(*def))
            return false;

    const QPointer<QWidget> owner(parent);
    // The core works on a copy: the caller's record belongs to a window that a quit may close meanwhile.
    Record working = album;
    DiscReadingResult result;
    {
        QPointer<ReadCompactDisc> window(new ReadCompactDisc(parent));
        running() = window;
        WindowProgress progress(window.data());
        result = readDisc(*context.store, working, identifyOnly ? 1 : 0, fillWizard ? 1 : 0,
                                      wizardInstance, &progress);
        delete window.data();
    }
    if (parent && !owner)
        return false;
    if (!result.errorText.isEmpty())
        access.ask({QString(DiscReadingErrorTitle), result.errorText, ButtonOk, ButtonOk});
    if (result.read != 1 || (parent && !owner))
        return false;
    album = working;
    return true;
}

}  // namespace srk

#pragma once

#include <QObject>

class QSocketNotifier;

namespace srk {

// Turns SIGTERM and SIGINT into a Qt signal delivered on the event loop, so the frame can close in
// order (placement saved, tables released) instead of dying mid-write.
class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    // Catches the signals from now on; a signal that comes before anything listens is kept. Call it
    // first thing in main(), before anything that takes time. Also undoes a block on them inherited
    // from the parent process, which would otherwise leave the session no way to ask us to quit.
    static void install();

    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

Q_SIGNALS:
    void shutdownRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace srk

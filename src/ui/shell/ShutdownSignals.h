#pragma once

#include <QObject>

class QSocketNotifier;

namespace srk {

// Turns SIGTERM and SIGINT into a Qt signal delivered on the event loop, so the frame can close in
// order (placement saved, tables released) instead of dying mid-write.
class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    explicit ShutdownSignals(QObject* parent = nullptr);
    ~ShutdownSignals() override;

Q_SIGNALS:
    void shutdownRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};

}  // namespace srk

#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class QMdiSubWindow;
class QWidget;

namespace srk {

class TableAccess;

// Keeps a browse in step with the tables it shows: tells it when one of them was changed by this
// process (reported by the access layer) or by another one, which is looked for when the window is
// activated and on a slow timer. Several reports in a row come as one.
class TableWatch : public QObject {
    Q_OBJECT
public:
    static constexpr int kCheckIntervalMs = 3000;

    // labels: the tables the window shows ("Sonorika", "Categories"); window: the browse.
    TableWatch(TableAccess& access, const QStringList& labels, QWidget* window);

    QTimer& timer() { return m_timer; }
    // Looks for other stations' commits now (as activation does).
    void check();

Q_SIGNALS:
    // A table of the window changed; the window reads its page again.
    void changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onTableChanged(const QString& label);
    void followSubWindow();

    TableAccess& m_access;
    QStringList m_labels;
    QWidget* m_window;
    QPointer<QMdiSubWindow> m_subWindow;
    QTimer m_timer;
    bool m_pending = false;
};

}  // namespace srk

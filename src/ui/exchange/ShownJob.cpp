#include "ui/exchange/ShownJob.h"

#include "ui/services/ProgressWindow.h"

#include <QPointer>
#include <QWidget>

namespace srk {

bool runShownJob(QWidget* owner, Job& job, const QString& title, const QString& textLine, MessageService& messages,
                 bool& running) {
    ShownJob shown(job);
    const QPointer<QWidget> self(owner);
    running = true;
    ProgressWindow::run(owner, shown, title, textLine, messages);
    if (!self)
        return false;
    running = false;
    return true;
}

}  // namespace srk

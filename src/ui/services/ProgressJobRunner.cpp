#include "ui/services/ProgressJobRunner.h"

#include "ui/services/ProgressWindow.h"

#include <QApplication>
#include <QWidget>

namespace srk {

bool ProgressJobRunner::run(Job& job, const QString& title, const QString& textLine) {
    // Over the form that asked for the change, else over the active window.
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent)
        parent = QApplication::activeWindow();
    return ProgressWindow::run(parent, job, title, textLine, m_messages);
}

}  // namespace srk

#include "ui/services/FormToolBar.h"

#include <QAction>
#include <QStyle>

namespace srk {

FormToolBar::FormToolBar(QWidget* parent) : QToolBar(parent) {
    setObjectName(QStringLiteral("FormToolBar"));
    setFloatable(false);
    setMovable(false);
    addMove(FormMove::First, QStyle::SP_MediaSkipBackward, QStringLiteral("Go to the First Page"));
    addMove(FormMove::PreviousPage, QStyle::SP_MediaSeekBackward, QStringLiteral("Go to the Previous Page"));
    addMove(FormMove::PreviousRecord, QStyle::SP_ArrowUp, QStringLiteral("Go to the Previous Record"));
    addMove(FormMove::NextRecord, QStyle::SP_ArrowDown, QStringLiteral("Go to the Next Record"));
    addMove(FormMove::NextPage, QStyle::SP_MediaSeekForward, QStringLiteral("Go to the Next Page"));
    addMove(FormMove::Last, QStyle::SP_MediaSkipForward, QStringLiteral("Go to the Last Page"));
    addSeparator();
    addMove(FormMove::Insert, QStyle::SP_FileIcon, QStringLiteral("Insert a New Record"));
}

QSize FormToolBar::minimumSizeHint() const {
    return sizeHint();
}

void FormToolBar::addMove(FormMove move, int standardIcon, const QString& tip) {
    QAction* a = addAction(style()->standardIcon(QStyle::StandardPixmap(standardIcon)), tip);
    a->setToolTip(tip);
    a->setStatusTip(tip);
    connect(a, &QAction::triggered, this, [this, move] { Q_EMIT moveRequested(move); });
    m_actions.insert(move, a);
}

}  // namespace srk

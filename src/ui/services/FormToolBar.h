#pragma once

#include "ui/services/FormMove.h"

#include <QHash>
#include <QToolBar>

class QAction;

namespace srk {

// The record tool bar of a form called from a browse: first, previous page, previous, next, next page,
// last and insert. A press only says which move was asked for; the form saves first and the browse moves.
class FormToolBar : public QToolBar {
    Q_OBJECT
public:
    explicit FormToolBar(QWidget* parent = nullptr);

    QAction* action(FormMove move) const { return m_actions.value(move); }

    // Seven buttons are few: the bar asks for room for all of them rather than hiding the last behind
    // an overflow button.
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void moveRequested(srk::FormMove move);

private:
    void addMove(FormMove move, int standardIcon, const QString& tip);

    QHash<FormMove, QAction*> m_actions;
};

}  // namespace srk

#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>

#include <functional>

class QTabWidget;
class QWidget;

namespace srk {

// The field checks of a tabbed form. Enter in a checked field accepts the field before the form's
// default button sees the key: a refused field keeps the key, so that OK does not bring the same
// message again. A refused field is shown again (its tab brought up) and selected.
class FieldChecks : public QObject {
    Q_OBJECT
public:
    explicit FieldChecks(QTabWidget* tabs);

    // accept shows why a value is refused and returns false then.
    void checkOnEnter(QWidget* field, std::function<bool()> accept);
    void refuse(QWidget* field) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QTabWidget> m_tabs;
    QHash<QObject*, std::function<bool()>> m_checks;
};

}  // namespace srk

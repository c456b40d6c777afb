#include "ui/services/CategoryDropList.h"

#include <QLineEdit>

namespace srk {

CategoryDropList::CategoryDropList(TableAccess& access, QWidget* parent) : QComboBox(parent), m_access(access) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    lineEdit()->setMaxLength(30);
    reload();
}

void CategoryDropList::reload() {
    m_categories = loadCategoryChoices(m_access);
    const QString text = currentText();
    clear();
    for (const CategoryChoice& c : m_categories)
        addItem(c.name, c.id);
    setEditText(text);
}

QString CategoryDropList::nameOf(qint64 id) const {
    if (id == 0)
        return QString();
    for (const CategoryChoice& c : m_categories)
        if (c.id == id)
            return c.name;
    return QString();
}

void CategoryDropList::showCategory(qint64 id) {
    m_shown = nameOf(id);
    setEditText(m_shown);
}

bool CategoryDropList::accept(qint64& id) {
    QString name;
    const CategoryAcceptance result = acceptCategory(m_access, currentText(), id, name);
    if (result == CategoryAcceptance::Added)
        reload();
    if (result == CategoryAcceptance::Refused)
        return false;
    setEditText(name);
    m_shown = name;
    return true;
}

void CategoryDropList::refresh(qint64 id) {
    if (currentText() != m_shown)
        return;
    reload();
    showCategory(id);
}

}  // namespace srk

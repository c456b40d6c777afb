#include "exchange/ExportSetup.h"

#include "exchange/ExchangeFields.h"

#include <algorithm>

namespace srk {

ExportSetup::ExportSetup() {
    for (const ExportField& f : srk::exportFields())
        m_all.rows().push_back({f.name, f.picture, false});
    m_export.rows() = m_all.rows();
    m_all.setCurrent(0);
    m_export.setCurrent(0);
}

void ExportSetup::add() {
    const bool wasEmpty = m_export.size() == 0;
    for (int row : m_all.markedRows()) {
        const FieldRow& r = m_all.rows()[row];
        const int there = m_export.find(r.name);
        if (there >= 0)
            m_export.rows()[there].marked = true;
        else
            m_export.rows().push_back(r);
    }
    if (wasEmpty && m_export.size() > 0)
        m_export.setCurrent(0);
}

void ExportSetup::remove() {
    QVector<FieldRow>& rows = m_export.rows();
    rows.erase(std::remove_if(rows.begin(), rows.end(), [](const FieldRow& r) { return r.marked; }), rows.end());
    m_export.clearAnchor();
    m_export.setCurrent(0);
}

void ExportSetup::shiftUp() {
    const int c = m_export.current();
    if (c <= 0)
        return;
    m_export.rows().swapItemsAt(c, c - 1);
    m_export.setCurrent(c - 1);
}

void ExportSetup::shiftDown() {
    const int c = m_export.current();
    if (c < 0 || c + 1 >= m_export.size())
        return;
    m_export.rows().swapItemsAt(c, c + 1);
    m_export.setCurrent(c + 1);
}

ExportSetup::PictureTarget ExportSetup::pictureTarget() {
    if (m_export.current() >= 0)
        return PictureTarget::Row;
    if (m_export.size() == 0)
        return PictureTarget::FocusAllFields;
    m_export.setCurrent(0);
    return PictureTarget::Row;
}

bool ExportSetup::setPicture(const QString& picture) {
    const int c = m_export.current();
    if (c < 0 || picture.isEmpty() || !pictureEntryAccepted(picture))
        return false;
    m_export.rows()[c].picture = picture;
    return true;
}

QString ExportSetup::typeDisplay() const {
    const int c = m_export.current();
    return c < 0 ? QString() : exportTypeText(m_export.rows()[c].picture);
}

bool ExportSetup::okRefused(QString* title, QString* text) const {
    if (m_export.size() > 0)
        return false;
    if (title)
        *title = QStringLiteral("No Fields Selected for Export!");
    if (text)
        *text = QStringLiteral("You must select one or more fields to export.");
    return true;
}

QVector<ExportColumn> ExportSetup::columns() const {
    QVector<ExportColumn> out;
    for (const FieldRow& r : m_export.rows())
        out.push_back({r.name, r.picture});
    return out;
}

}  // namespace srk

#pragma once

#include <QComboBox>
#include <QStringList>

namespace srk {

class TableAccess;

// The media drop list of the forms: every medium of the Media table, typed or chosen; a value is
// accepted only when it is one of them (taking the list's letter case).
class MediaDropList : public QComboBox {
    Q_OBJECT
public:
    MediaDropList(TableAccess& access, QWidget* parent = nullptr);

    const QStringList& media() const { return m_media; }
    // Shows the medium; a blank one shows the first of the list.
    void showMedia(const QString& media);
    // Checks the typed medium (message 11 when it is not in the Media table) and shows it as listed.
    bool accept();

private:
    TableAccess& m_access;
    QStringList m_media;
};

}  // namespace srk

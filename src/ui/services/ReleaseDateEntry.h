#pragma once

#include <QLineEdit>

namespace srk {

class TableAccess;

// A release-date field under a date picture: a bare year (below 3000) shows and is typed as the year.
// A value shown and left as it was keeps what is stored (a full date shown as its year keeps its day).
class ReleaseDateEntry : public QLineEdit {
    Q_OBJECT
public:
    ReleaseDateEntry(const QString& picture, QWidget* parent = nullptr);

    const QString& picture() const { return m_picture; }
    void showValue(qint64 value);
    // False after telling the user that the typed text is no date.
    bool accept(TableAccess& access);
    // What to store: the typed date, or stored when the text is as it was shown.
    qint64 value(qint64 stored) const;

private:
    QString m_picture;
    QString m_shown;
};

}  // namespace srk

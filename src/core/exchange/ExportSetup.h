#pragma once

#include "exchange/MarkedList.h"

#include <QString>
#include <QVector>

namespace srk {

// One column of an export: a field name and the picture it is written through.
struct ExportColumn {
    QString name;
    QString picture;
};

// The export window's state without the window: "All Fields", "Export Fields" and the header box, with
// the buttons' rules. The window and the command line both drive it; the run takes columns().
class ExportSetup {
public:
    ExportSetup();

    MarkedList& allFields() { return m_all; }
    MarkedList& exportFields() { return m_export; }
    const MarkedList& allFields() const { return m_all; }
    const MarkedList& exportFields() const { return m_export; }

    // "&Add ->": marked rows of All Fields join Export Fields once; one already there is only marked.
    void add();
    // "&Remove": the marked rows of Export Fields go.
    void remove();
    void shiftUp();
    void shiftDown();
    enum class PictureTarget { Row, FocusAllFields };
    // "&Picture" with no current row: the first row becomes current, or All Fields takes the focus when
    // Export Fields is empty. Row: ask for the current row's picture (then setPicture).
    PictureTarget pictureTarget();
    // A blank answer changes nothing.
    bool setPicture(const QString& picture);
    // The "Picture" display under Export Fields.
    QString typeDisplay() const;

    bool header() const { return m_header; }
    void setHeader(bool on) { m_header = on; }

    bool okRefused(QString* title = nullptr, QString* text = nullptr) const;
    QVector<ExportColumn> columns() const;

private:
    MarkedList m_all;
    MarkedList m_export;
    bool m_header = true;
};

}  // namespace srk

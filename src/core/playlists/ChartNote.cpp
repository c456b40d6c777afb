#include "playlists/ChartNote.h"

#include "store/Record.h"

namespace srk {

namespace {

constexpr int kNoteWidth = 40;
constexpr int kTagLength = 5;  // "LW:" and two digits

QString withoutTrailingBlanks(QString text) {
    while (!text.isEmpty() && text.back().isSpace())
        text.chop(1);
    return text;
}

QString withoutLeadingBlanks(const QString& text) {
    int i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return text.mid(i);
}

}  // namespace

QString chartNote(const QString& note, qint64 place) {
    QString text = note;
    const int tag = text.indexOf(QLatin1String("LW:"));
    if (tag >= 0)
        text.remove(tag, kTagLength);
    text = withoutTrailingBlanks(text) + QStringLiteral(" LW:") + QString::number(place);
    return Record::fitText(withoutLeadingBlanks(text), kNoteWidth);
}

}  // namespace srk

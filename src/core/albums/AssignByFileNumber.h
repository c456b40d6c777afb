#pragma once

#include "access/MessageService.h"
#include "store/Record.h"

#include <QString>

namespace srk {

class TableAccess;

// Links songs that already exist to an album: every song filed under the album's medium and file
// number (a scan of the media key from that pair), or one song the user picked. Track numbers are
// left as they are: the songs keep the places they had.
class AssignByFileNumber {
public:
    // Why the scan stopped.
    enum class End { EndOfTable, OtherMedia, OtherFileNumber, ReadError, WriteError };

    struct Result {
        End end = End::EndOfTable;
        qint64 assigned = 0;
        QString errorText;
    };

    // The question asked before the scan (Yes scans, No lets the user pick one song, Cancel stops).
    static Message question(const Record& album);
    // Asks it; returns the button pressed.
    static int ask(TableAccess& access, const Record& album);

    // Scans the songs of the album's medium from its file number on, rewriting each song whose file
    // number matches with the album's id, and shows how it ended. The writes collect in one stream;
    // what was rewritten before a failure stays.
    static Result run(TableAccess& access, const Record& album);
    // The message that reports a result.
    static Message report(const Result& result);

    // Gives one song (found by its position) the album's id. 0, or the error after its message.
    static int assignSong(TableAccess& access, const Record& song, qint64 albumId);
};

}  // namespace srk

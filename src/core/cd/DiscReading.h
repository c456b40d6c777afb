#pragma once

#include "cd/CdSerialNumber.h"
#include "store/Record.h"
#include "store/Store.h"

#include <QString>

namespace srk {

// What a disc reading shows while it runs; the program's progress window implements it. Nothing is
// shown before the drive has passed its checks.
class DiscReadingProgress {
public:
    virtual ~DiscReadingProgress();
    virtual void show(const QString& caption) = 0;
    virtual void setStatusLine(const QString& text) = 0;
    virtual void setSecondLine(const QString& text) = 0;
    virtual void setPercent(int percent) = 0;
    // Called after each track, so that other windows can run.
    virtual void letOthersRun() {}
};

// How a reading ended: read 1 when the disc was read, else 0 with the message to show under the title
// "Error" (blank when there is nothing to show).
struct DiscReadingResult {
    int read = 0;
    QString errorText;
};

inline constexpr QLatin1StringView DiscReadingErrorTitle{"Error"};
inline constexpr QLatin1StringView CdNotAvailableText{
    "CD player not available.  Ensure that no other program is using the CD-ROM drive."};
inline constexpr QLatin1StringView CdNotReadyText{"CD player not ready."};
inline constexpr QLatin1StringView CdDoorOpenText{"CD player door open."};

// Opens the drive, checks it and puts the disc's serial number into album's CDIdentifier. Unless
// identify-only is set alone, it then reads every track's length, puts the disc length into
// TotalTime and writes either the wizard rows of wizardInstance (fill-wizard set) or, for a saved
// album (AlbumID not 0), the album's songs; each as one streamed batch. The album and song and
// AddWizard tables must be open.
DiscReadingResult readDisc(Store& store, Record& album, int identifyOnly, int fillWizard, qint64 wizardInstance,
                           DiscReadingProgress* progress = nullptr, const MciSender& send = MciSender());

}  // namespace srk

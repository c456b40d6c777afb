#pragma once

#include "jobs/Job.h"
#include "reports/ReportCriteria.h"
#include "settings/Preferences.h"
#include "reports/ReportMember.h"

#include <QDate>
#include <QString>

#include <memory>

namespace srk {

class ReportPageList;
class Store;

// What one run of a catalogue report prints.
struct ReportRequest {
    const ReportMember* member = nullptr;
    ReportCriteria criteria;      // a copy of the program's criteria as the run starts
    QString title;                // empty: the member's own
    QString datePreference;       // the user's date picture, replacing those of the date columns
    QString udkLabel;             // heading of the user-defined key column
    QString notesLabel;           // heading of the DJ log's notes column
    qint64 playlistId = 0;        // the playlist of the playlist printouts
    QString logoFile;             // the chart's logo picture; empty for none
    bool useCustomFont = false;
    ReportFont customFont;
    qint64 categoryId = 0;        // the category of the category members
    qint64 albumId = 0;           // the album of the one-album member
    QString filterText;           // an extra filter (the paper savers' query), empty for none
    QDate runDate = QDate::currentDate();
};

// The generation loop of every catalogue report and playlist printout: reads the member's table in its
// key order, a slice of records per step, and prints a detail band for each record that passes the skip
// markers, the filter and the selection prefix. Pages go to the page list as they fill. The playlist
// printouts read the playlist's lines and print each line's song.
//
// The tables must be open in `store`. A cancel throws away the pages made so far unless keepPartial() is
// called first, as a user who wants to preview them does.
class ReportJob : public Job {
public:
    enum class Outcome { Running, Completed, Cancelled, Failed };
    static constexpr int kRecordsPerStep = 25;

    ReportJob(Store& store, const ReportRequest& request, ReportPageList& pages);
    ~ReportJob() override;

    bool step() override;
    int percent() const override;
    void cancel() override;

    // After the user confirmed a cancel the run may go on at one record per step.
    void setRecordsPerStep(int count) { m_perStep = count < 1 ? 1 : count; }
    // Stops here and keeps what was made, the last page ended.
    bool keepPartial();

    Outcome outcome() const { return m_outcome; }
    qint64 recordsRead() const { return m_read; }
    qint64 recordsTotal() const { return m_total; }
    int linesPrinted() const;
    QString title() const;
    // A filter that could not be used; the run went on without it.
    const QString& filterWarning() const { return m_filterWarning; }
    // The chart's closed-up running order could not all be written back; the printout went on.
    const QString& writeWarning() const { return m_writeWarning; }
    // Lines of the chart whose number was changed to their place.
    int linesRenumbered() const { return m_renumbered; }

private:
    struct Reading;
    bool begin();
    void finish(Outcome outcome);

    Store& m_store;
    ReportRequest m_request;
    ReportPageList& m_pages;
    std::unique_ptr<Reading> m_reading;
    Outcome m_outcome = Outcome::Running;
    bool m_started = false;
    int m_perStep = kRecordsPerStep;
    qint64 m_total = 0;
    qint64 m_read = 0;
    int m_percent = 0;
    QString m_filterWarning;
    QString m_writeWarning;
    int m_renumbered = 0;
};

}  // namespace srk

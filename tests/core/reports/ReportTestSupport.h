#pragma once

#include "core/access/AccessTestSupport.h"

#include "reports/PageFile.h"
#include "reports/ReportJob.h"
#include "reports/ReportMember.h"
#include "reports/ReportPageList.h"
#include "text/DayNumber.h"

#include <QStringList>

// A small catalogue for report runs: songs given by their printed fields, and the texts the pages show.
class ReportTest : public AccessTest {
protected:
    struct SongFields {
        QString artist;
        QString title;
        QString album = QStringLiteral("An Album");
        QString media = QStringLiteral("CD");
        QString fileNumber = QStringLiteral("F-1");
        int chart = 0;
        int bpm = 0;
        qint64 time = 0;
        int category = 0;
        qint64 albumId = 0;
    };

    srk::Record addSong(const SongFields& s) {
        srk::Record r(srk::songsTable());
        r.setNumber(srk::SON::ID, ++m_lastId);
        r.setText(srk::SON::Artist, s.artist);
        r.setText(srk::SON::Title, s.title);
        r.setText(srk::SON::Album, s.album);
        r.setText(srk::SON::Media, s.media);
        r.setText(srk::SON::FileNumber, s.fileNumber);
        r.setNumber(srk::SON::ChartNumber, s.chart);
        r.setNumber(srk::SON::BeatsPerMinute, s.bpm);
        r.setNumber(srk::SON::Time, s.time);
        r.setNumber(srk::SON::CategoryID, s.category);
        r.setNumber(srk::SON::AlbumID, s.albumId);
        r.setNumber(srk::SON::TrackNumber, int(m_lastId % 20) + 1);
        return add(srk::songsTable(), r);
    }

    static srk::Page page(const srk::ReportPageList& pages, int index) {
        srk::Page p;
        EXPECT_TRUE(srk::readPage(pages.path(index), p));
        return p;
    }

    // Every text drawn on the page, in drawing order.
    static QStringList texts(const srk::Page& p) {
        QStringList out;
        for (const srk::PageItem& item : p.items)
            if (item.kind == srk::PageItem::Text)
                out << item.text;
        return out;
    }

    static QStringList allTexts(const srk::ReportPageList& pages) {
        QStringList out;
        for (int i = 0; i < pages.count(); ++i)
            out << texts(page(pages, i));
        return out;
    }

    // The request for a member by name, run on a fixed date so pages can be compared.
    static srk::ReportRequest memberRequest(const QString& memberName, srk::ReportRequest request = {}) {
        request.member = srk::reportMember(memberName);
        EXPECT_NE(request.member, nullptr) << memberName.toStdString();
        request.runDate = QDate(2024, 3, 5);
        return request;
    }

    // Steps a job to its end (bounded, so a job that never ends fails); it must report no error.
    static void runToEnd(srk::ReportJob& job) {
        int steps = 0;
        while (job.step())
            if (++steps > 1000000)
                break;
        EXPECT_TRUE(job.errorText().isEmpty()) << job.errorText().toStdString();
    }

    // Time value of h:m:s as the store keeps times.
    static qint64 clock(int h, int m, int s) { return srk::timeValue(h, m, s); }

    qint64 m_lastId = 0;
};

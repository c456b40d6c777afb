#include "ui/shell/BuildStamps.h"

#include <QDateTime>
#include <QStringList>

#ifndef SONORIKA_BUILD_STAMP
#define SONORIKA_BUILD_STAMP ""
#endif

namespace srk {

namespace {

BuildStamp stampOf(const QDate& date, int hours, int minutes, int seconds) {
    BuildStamp stamp;
    if (!date.isValid() || hours < 0 || hours > 23)
        return stamp;
    stamp.time = timeValue(hours, minutes, seconds);
    if (stamp.time != kNoTime)
        stamp.dayNumber = dayNumberFromDate(date);
    return stamp.isValid() ? stamp : BuildStamp();
}

}  // namespace

BuildStamp buildStampFromIso(const QString& text) {
    const QDateTime moment = QDateTime::fromString(text.trimmed(), Qt::ISODate);
    if (!moment.isValid())
        return BuildStamp();
    const QTime t = moment.time();
    return stampOf(moment.date(), t.hour(), t.minute(), t.second());
}

BuildStamp buildStampFromCompiler(const char* date, const char* time) {
    if (!date || !time)
        return BuildStamp();
    // Month names are always English here, whatever the locale.
    static const QStringList months{
        QStringLiteral("Jan"), QStringLiteral("Feb"), QStringLiteral("Mar"), QStringLiteral("Apr"),
        QStringLiteral("May"), QStringLiteral("Jun"), QStringLiteral("Jul"), QStringLiteral("Aug"),
        QStringLiteral("Sep"), QStringLiteral("Oct"), QStringLiteral("Nov"), QStringLiteral("Dec"),
    };
    const QStringList d = QString::fromLatin1(date).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const QStringList t = QString::fromLatin1(time).split(QLatin1Char(':'));
    if (d.size() != 3 || t.size() != 3)
        return BuildStamp();
    const int month = months.indexOf(d.at(0)) + 1;
    bool dayOk = false, yearOk = false, hOk = false, mOk = false, sOk = false;
    const int day = d.at(1).toInt(&dayOk);
    const int year = d.at(2).toInt(&yearOk);
    const int hours = t.at(0).toInt(&hOk);
    const int minutes = t.at(1).toInt(&mOk);
    const int seconds = t.at(2).toInt(&sOk);
    if (month == 0 || !dayOk || !yearOk || !hOk || !mOk || !sOk)
        return BuildStamp();
    return stampOf(QDate(year, month, day), hours, minutes, seconds);
}

BuildStamp creationStamp() {
    return buildStampFromIso(QStringLiteral(SONORIKA_BUILD_STAMP));
}

BuildStamp changeStamp() {
    return buildStampFromCompiler(__DATE__, __TIME__);
}

}  // namespace srk

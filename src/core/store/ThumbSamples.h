#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace srk {

// A browse's scroll bar stands for 100 sample values of its order's located component, spread between
// the lowest and the highest value, so the thumb can be placed and dragged without counting records.
constexpr int kThumbSamples = 100;

// Numbers: evenly spread from low to high, the first and last exactly low and high.
QVector<qint64> numberThumbSamples(qint64 low, qint64 high);

// Texts: the common beginning of low and high followed by four characters counted in the alphabet of
// upper-case letters (and digits when the order uses them). high shorter than width is padded with
// the alphabet's last letter first, so every value up to it falls before the last sample.
QStringList textThumbSamples(const QString& low, const QString& high, int width, bool withDigits);

// The sample the thumb stands on for a value: the first one not less than it (texts without regard to
// case). 0 for the first sample; the last one when every sample is less.
int thumbPosition(const QVector<qint64>& samples, qint64 value);
int thumbPosition(const QStringList& samples, const QString& value);

}  // namespace srk

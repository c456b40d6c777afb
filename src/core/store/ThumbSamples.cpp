#include "store/ThumbSamples.h"

#include "store/FoldCollation.h"

namespace srk {

namespace {

// Upper-case letters among the character codes 1 to 255, in code order, digits first when wanted.
QString alphabet(bool withDigits) {
    QString letters;
    for (char16_t c = 1; c <= 255; ++c) {
        const QChar ch(c);
        if ((withDigits && ch.isDigit()) || (ch.isLetter() && ch.isUpper()))
            letters += ch;
    }
    return letters;
}

constexpr int kDigits = 4;

qint64 readNumber(const QString& text, const QString& letters) {
    const qint64 base = letters.size() + 1;
    qint64 n = 0;
    for (int i = 0; i < kDigits; ++i) {
        const QChar c = i < text.size() ? text.at(i).toUpper() : QChar(u' ');
        n = n * base + (letters.indexOf(c) + 1);  // blank or foreign: 0
    }
    return n;
}

QString writeNumber(qint64 n, const QString& letters) {
    const qint64 base = letters.size() + 1;
    QString digits;
    for (int i = 0; i < kDigits; ++i) {
        const qint64 d = n % base;
        n /= base;
        if (d > 0)
            digits.prepend(letters.at(int(d - 1)));
    }
    return digits;
}

}  // namespace

QVector<qint64> numberThumbSamples(qint64 low, qint64 high) {
    QVector<qint64> samples(kThumbSamples);
    for (int k = 0; k < kThumbSamples; ++k)
        samples[k] = low + (high - low) * k / (kThumbSamples - 1);
    return samples;
}

QStringList textThumbSamples(const QString& low, const QString& high, int width, bool withDigits) {
    const QString letters = alphabet(withDigits);
    const QString l = low.left(width);
    QString h = high.left(width);
    if (h.size() < width)
        h += QString(width - h.size(), letters.back());
    int common = 0;
    while (common < l.size() && common < h.size() && l.at(common) == h.at(common))
        ++common;
    const QString prefix = l.left(common);
    const QString lowTail = l.mid(common, kDigits);
    const QString highTail = h.mid(common, kDigits);
    const qint64 lowNumber = readNumber(lowTail, letters);
    const qint64 highNumber = readNumber(highTail, letters);
    const qint64 step = (highNumber - lowNumber) / (kThumbSamples - 1);

    QStringList samples;
    samples.reserve(kThumbSamples);
    samples << prefix + lowTail;
    for (int k = 2; k < kThumbSamples; ++k)
        samples << prefix + writeNumber(lowNumber + step * (k - 1), letters);
    samples << prefix + highTail;
    return samples;
}

int thumbPosition(const QVector<qint64>& samples, qint64 value) {
    for (int i = 0; i < samples.size(); ++i)
        if (samples[i] >= value)
            return i;
    return samples.isEmpty() ? 0 : int(samples.size() - 1);
}

int thumbPosition(const QStringList& samples, const QString& value) {
    for (int i = 0; i < samples.size(); ++i)
        if (compareFolded(samples[i], value) >= 0)
            return i;
    return samples.isEmpty() ? 0 : int(samples.size() - 1);
}

}  // namespace srk

#include "ui/help/HelpIndex.h"

#include "ui/help/HelpTopics.h"

#include <QRegularExpression>
#include <QTextDocumentFragment>

#include <algorithm>

namespace srk {

HelpIndex::HelpIndex() {
    for (const QString& name : helpContentsPages()) {
        const QString html = helpPageHtml(name);
        Page page{name, titleOf(html), keywordsOf(html), QTextDocumentFragment::fromHtml(html).toPlainText()};
        if (page.title.isEmpty())
            page.title = name;
        for (const QString& word : std::as_const(page.keywords)) {
            const bool known = std::any_of(m_keywords.cbegin(), m_keywords.cend(), [&](const QString& k) {
                return k.compare(word, Qt::CaseInsensitive) == 0;
            });
            if (!known)
                m_keywords << word;
        }
        m_pages << page;
    }
    std::sort(m_keywords.begin(), m_keywords.end(),
              [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
}

QString HelpIndex::title(const QString& page) const {
    for (const Page& p : m_pages) {
        if (p.name == page)
            return p.title;
    }
    return QString();
}

QStringList HelpIndex::pagesForKeyword(const QString& keyword) const {
    QStringList found;
    for (const Page& p : m_pages) {
        if (p.keywords.contains(keyword.trimmed(), Qt::CaseInsensitive))
            found << p.name;
    }
    return found;
}

QStringList HelpIndex::search(const QString& words) const {
    const QString typed = words.simplified();
    if (typed.isEmpty())
        return {};
    QStringList found;
    for (const Page& p : m_pages) {
        const bool byKeyword = std::any_of(p.keywords.cbegin(), p.keywords.cend(), [&](const QString& k) {
            return k.startsWith(typed, Qt::CaseInsensitive);
        });
        if (byKeyword || p.title.startsWith(typed, Qt::CaseInsensitive))
            found << p.name;
    }
    if (!found.isEmpty())
        return found;
    const QStringList parts = typed.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const Page& p : m_pages) {
        const bool all = std::all_of(parts.cbegin(), parts.cend(), [&](const QString& part) {
            return p.text.contains(part, Qt::CaseInsensitive);
        });
        if (all)
            found << p.name;
    }
    return found;
}

QString HelpIndex::titleOf(const QString& html) {
    static const QRegularExpression title(QStringLiteral("<title>(.*?)</title>"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = title.match(html);
    return m.hasMatch() ? QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText().simplified() : QString();
}

QStringList HelpIndex::keywordsOf(const QString& html) {
    static const QRegularExpression meta(
        QStringLiteral("<meta\\s+name\\s*=\\s*\"keywords\"\\s+content\\s*=\\s*\"([^\"]*)\""),
        QRegularExpression::CaseInsensitiveOption);
    QStringList words;
    const QRegularExpressionMatch m = meta.match(html);
    if (!m.hasMatch())
        return words;
    for (const QString& word : m.captured(1).split(QLatin1Char(','))) {
        const QString w = word.simplified();
        if (!w.isEmpty())
            words << w;
    }
    return words;
}

}  // namespace srk

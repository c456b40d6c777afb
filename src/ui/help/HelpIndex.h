#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace srk {

// What the help window searches: each page's title, its index words (the page's
// <meta name="keywords">) and its text.
class HelpIndex {
public:
    struct Page {
        QString name;  // "songs.html"
        QString title;
        QStringList keywords;
        QString text;  // without markup, for searching
    };

    // Reads the pages of the contents list.
    HelpIndex();

    const QList<Page>& pages() const { return m_pages; }
    QString title(const QString& page) const;

    // Every index word once, in alphabetical order without regard to case.
    const QStringList& keywords() const { return m_keywords; }

    // Pages listing this index word (any case), in contents order.
    QStringList pagesForKeyword(const QString& keyword) const;

    // Pages for what the user typed: those with an index word or title starting with it; when there are
    // none, those whose text holds every word of it. Contents order; empty for blank input.
    QStringList search(const QString& words) const;

    // Reads the title and index words out of a page's HTML.
    static QString titleOf(const QString& html);
    static QStringList keywordsOf(const QString& html);

private:
    QList<Page> m_pages;
    QStringList m_keywords;
};

}  // namespace srk

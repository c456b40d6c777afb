#include "ui/help/HelpIndex.h"
#include "ui/help/HelpTopics.h"
#include "ui/help/HelpWindow.h"

#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTest>
#include <QTextBrowser>

#include <gtest/gtest.h>

using namespace srk;

namespace {

QString pageOf(const QUrl& url) {
    return url.fileName();
}

}  // namespace

TEST(HelpPagesTest, EveryContentsPageLoadsWithTitleKeywordsAndText) {
    const HelpIndex index;
    ASSERT_EQ(index.pages().size(), helpContentsPages().size());
    for (const HelpIndex::Page& page : index.pages()) {
        SCOPED_TRACE(page.name.toStdString());
        EXPECT_FALSE(helpPageHtml(page.name).isEmpty());
        EXPECT_NE(page.title, page.name) << "page has no <title>";
        EXPECT_FALSE(page.keywords.isEmpty()) << "page has no index words";
        EXPECT_GT(page.text.simplified().size(), 200);
    }
}

TEST(HelpPagesTest, EveryLinkLeadsToAPageOfTheContents) {
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    int links = 0;
    for (const QString& page : helpContentsPages()) {
        const QString html = helpPageHtml(page);
        for (auto it = href.globalMatch(html); it.hasNext();) {
            const QString target = it.next().captured(1);
            SCOPED_TRACE((page + QStringLiteral(" -> ") + target).toStdString());
            EXPECT_TRUE(helpContentsPages().contains(target));
            ++links;
        }
    }
    // The contents page alone links every other page.
    EXPECT_GE(links, helpContentsPages().size() - 1);
}

TEST(HelpPagesTest, NoSuchPageReadsEmpty) {
    EXPECT_TRUE(helpPageHtml(QStringLiteral("missing.html")).isEmpty());
    EXPECT_TRUE(helpPageHtml(QString()).isEmpty());
}

TEST(HelpIndexTest, ReadsTitleAndKeywordsFromMarkup) {
    const QString html = QStringLiteral(
        "<html><head><META name=\"keywords\" content=\" one, Two words ,, three\">"
        "<title>A &amp; B</title></head><body>x</body></html>");
    EXPECT_EQ(HelpIndex::titleOf(html), QStringLiteral("A & B"));
    EXPECT_EQ(HelpIndex::keywordsOf(html),
              (QStringList{QStringLiteral("one"), QStringLiteral("Two words"), QStringLiteral("three")}));
    EXPECT_TRUE(HelpIndex::keywordsOf(QStringLiteral("<html></html>")).isEmpty());
}

TEST(HelpIndexTest, KeywordsAreSortedAndUniqueWithoutRegardToCase) {
    const HelpIndex index;
    const QStringList& words = index.keywords();
    ASSERT_FALSE(words.isEmpty());
    for (int i = 1; i < words.size(); ++i)
        EXPECT_LT(words[i - 1].compare(words[i], Qt::CaseInsensitive), 0) << words[i].toStdString();
}

TEST(HelpIndexTest, SearchFindsByKeywordThenByText) {
    const HelpIndex index;
    EXPECT_EQ(index.search(QStringLiteral("ditto")), QStringList{QStringLiteral("keyboard.html")});
    EXPECT_EQ(index.search(QStringLiteral("DITTO")), QStringList{QStringLiteral("keyboard.html")});
    EXPECT_TRUE(index.search(QStringLiteral("import")).contains(QStringLiteral("import-export.html")));
    EXPECT_EQ(index.pagesForKeyword(QStringLiteral("Export")), QStringList{QStringLiteral("import-export.html")});
    // No index word starts with these; the pages holding every word are found instead.
    EXPECT_EQ(index.search(QStringLiteral("shelf box")), QStringList{QStringLiteral("albums.html")});
    EXPECT_TRUE(index.search(QStringLiteral("shelf xyzzy")).isEmpty());
    EXPECT_TRUE(index.search(QStringLiteral("xyzzy")).isEmpty());
    EXPECT_TRUE(index.search(QStringLiteral("   ")).isEmpty());
}

TEST(HelpTopicsTest, WindowsLeadToTheirPages) {
    EXPECT_EQ(pageOf(helpPageFor(QStringLiteral("BrowseSongs"))), QStringLiteral("songs.html"));
    EXPECT_EQ(pageOf(helpPageFor(QStringLiteral("updatealbums"))), QStringLiteral("albums.html"));
    EXPECT_EQ(pageOf(helpPageFor(QStringLiteral("Import"))), QStringLiteral("import-export.html"));
    EXPECT_EQ(pageOf(helpPageFor(QStringLiteral("PrintSON:SongsByArtist"))), QStringLiteral("reports.html"));
    EXPECT_EQ(pageOf(helpPageFor(QStringLiteral("playlists"))), QStringLiteral("playlists.html"));
    EXPECT_EQ(pageOf(helpPageFor(QStringLiteral("keyboard.html"))), QStringLiteral("keyboard.html"));
    EXPECT_EQ(pageOf(helpPageFor(QStringLiteral("NoSuchWindow"))), helpContentsPage());
    EXPECT_EQ(helpPageFor(QStringLiteral("Setup")).scheme(), QStringLiteral("qrc"));
}

TEST(HelpWindowTest, OpensOnContentsAndFollowsTheContentsList) {
    HelpWindow window;
    window.showContents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(pageOf(window.currentPage()), helpContentsPage());
    auto* browser = window.findChild<QTextBrowser*>(QStringLiteral("pageBrowser"));
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("Sonorika Pro")));

    auto* contents = window.findChild<QListWidget*>(QStringLiteral("contentsList"));
    ASSERT_NE(contents, nullptr);
    ASSERT_EQ(contents->count(), helpContentsPages().size());
    for (int row = 0; row < contents->count(); ++row) {
        contents->setCurrentRow(row);
        SCOPED_TRACE(contents->item(row)->text().toStdString());
        EXPECT_EQ(pageOf(window.currentPage()), helpContentsPages().at(row));
        EXPECT_FALSE(browser->toPlainText().trimmed().isEmpty());
    }
}

TEST(HelpWindowTest, HowToUseHelpOpensItsPageAndBackReturns) {
    HelpWindow window;
    window.showContents();
    window.showHowToUseHelp();
    EXPECT_EQ(pageOf(window.currentPage()), helpOnHelpPage());
    auto* browser = window.findChild<QTextBrowser*>(QStringLiteral("pageBrowser"));
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->toPlainText().contains(QStringLiteral("How to use help")));
    auto* contents = window.findChild<QListWidget*>(QStringLiteral("contentsList"));
    ASSERT_NE(contents->currentItem(), nullptr);
    EXPECT_EQ(contents->currentItem()->text(), QStringLiteral("How to use help"));

    browser->backward();
    EXPECT_EQ(pageOf(window.currentPage()), helpContentsPage());
}

TEST(HelpWindowTest, TypedSearchListsTopicsAndEnterOpensOne) {
    HelpWindow window;
    window.showSearch();
    auto* field = window.findChild<QLineEdit*>(QStringLiteral("searchField"));
    ASSERT_NE(field, nullptr);
    EXPECT_TRUE(field->isVisible());

    QTest::keyClicks(field, QStringLiteral("ditto"));
    EXPECT_EQ(window.foundPages(), QStringList{QStringLiteral("keyboard.html")});
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(pageOf(window.currentPage()), QStringLiteral("keyboard.html"));

    field->clear();
    QTest::keyClicks(field, QStringLiteral("impo"));
    EXPECT_TRUE(window.foundPages().contains(QStringLiteral("import-export.html")));
    auto* keywords = window.findChild<QListWidget*>(QStringLiteral("keywordList"));
    ASSERT_NE(keywords->currentItem(), nullptr);
    EXPECT_TRUE(keywords->currentItem()->text().startsWith(QStringLiteral("impo"), Qt::CaseInsensitive));

    // A word that is in no index entry falls back to the pages' text.
    window.showSearch(QStringLiteral("shelf"));
    EXPECT_EQ(keywords->currentItem(), nullptr);
    EXPECT_EQ(window.foundPages(), QStringList{QStringLiteral("albums.html")});

    window.showSearch(QStringLiteral("xyzzy"));
    EXPECT_TRUE(window.foundPages().isEmpty());
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(pageOf(window.currentPage()), QStringLiteral("keyboard.html"));
}

TEST(HelpWindowTest, ShowTopicOpensTheWindowsPage) {
    HelpWindow window;
    window.showTopic(QStringLiteral("IntegratedCDPlayer"));
    EXPECT_EQ(pageOf(window.currentPage()), QStringLiteral("cd-player.html"));
}

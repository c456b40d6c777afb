#pragma once

#include "ui/help/HelpIndex.h"

#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabWidget;
class QTextBrowser;

namespace srk {

// The help window: a contents list and a word index on the left, the page on the right. It is a
// window of its own, not modal, and stays open beside the program's windows.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Each shows the window, brings it forward and opens the stated tab and page.
    void showContents();
    // The index tab with the search field focused; `words` is typed into it when given.
    void showSearch(const QString& words = QString());
    void showHowToUseHelp();
    // The page of a window procedure or page name, as helpPageFor() finds it.
    void showTopic(const QString& topic);

    QUrl currentPage() const;
    const HelpIndex& index() const { return m_index; }

    // The pages the index tab offers at the moment, in the order listed.
    QStringList foundPages() const;

private:
    void openPage(const QString& page);
    void bringForward();
    void searchTextChanged(const QString& text);
    void keywordChanged();
    void listFoundPages(const QStringList& pages);
    void openFoundPage();
    void sourceChanged(const QUrl& url);

    HelpIndex m_index;
    QTabWidget* m_tabs = nullptr;
    QListWidget* m_contents = nullptr;
    QLineEdit* m_searchField = nullptr;
    QListWidget* m_keywords = nullptr;
    QListWidget* m_found = nullptr;
    QPushButton* m_display = nullptr;
    QTextBrowser* m_browser = nullptr;
};

}  // namespace srk

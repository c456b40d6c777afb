#include "ui/help/HelpWindow.h"

#include "ui/help/HelpTopics.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace srk {

namespace {

constexpr int PageRole = Qt::UserRole;

QString pageOf(const QUrl& url) {
    return url.fileName();
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    initHelpResources();
    setWindowTitle(QStringLiteral("Sonorika Pro Help"));
    setObjectName(QStringLiteral("HelpWindow"));

    auto* contentsButton = new QPushButton(QStringLiteral("&Contents"), this);
    auto* backButton = new QPushButton(QStringLiteral("&Back"), this);
    auto* forwardButton = new QPushButton(QStringLiteral("&Forward"), this);
    backButton->setShortcut(QKeySequence::Back);
    forwardButton->setShortcut(QKeySequence::Forward);
    backButton->setEnabled(false);
    forwardButton->setEnabled(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contentsButton);
    buttons->addWidget(backButton);
    buttons->addWidget(forwardButton);
    buttons->addStretch();

    m_contents = new QListWidget;
    m_contents->setObjectName(QStringLiteral("contentsList"));
    for (const HelpIndex::Page& page : m_index.pages()) {
        auto* item = new QListWidgetItem(page.title, m_contents);
        item->setData(PageRole, page.name);
    }

    auto* indexPage = new QWidget;
    m_searchField = new QLineEdit;
    m_searchField->setObjectName(QStringLiteral("searchField"));
    auto* searchLabel = new QLabel(QStringLiteral("&Type the first letters of the word you are looking for:"));
    searchLabel->setWordWrap(true);
    searchLabel->setBuddy(m_searchField);
    m_keywords = new QListWidget;
    m_keywords->setObjectName(QStringLiteral("keywordList"));
    m_keywords->addItems(m_index.keywords());
    m_found = new QListWidget;
    m_found->setObjectName(QStringLiteral("foundList"));
    auto* foundLabel = new QLabel(QStringLiteral("Topics fo&und:"));
    foundLabel->setBuddy(m_found);
    m_display = new QPushButton(QStringLiteral("&Display"));
    m_display->setEnabled(false);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(searchLabel);
    indexLayout->addWidget(m_searchField);
    indexLayout->addWidget(m_keywords, 2);
    indexLayout->addWidget(foundLabel);
    indexLayout->addWidget(m_found, 1);
    indexLayout->addWidget(m_display, 0, Qt::AlignRight);

    m_tabs = new QTabWidget;
    m_tabs->addTab(m_contents, QStringLiteral("Co&ntents"));
    m_tabs->addTab(indexPage, QStringLiteral("&Index"));

    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("pageBrowser"));
    m_browser->setOpenExternalLinks(false);

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 3);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter, 1);
    resize(820, 560);

    connect(contentsButton, &QPushButton::clicked, this, [this] { showContents(); });
    connect(backButton, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forwardButton, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, backButton, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forwardButton, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::sourceChanged);
    connect(m_contents, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            openPage(item->data(PageRole).toString());
    });
    connect(m_searchField, &QLineEdit::textChanged, this, &HelpWindow::searchTextChanged);
    connect(m_searchField, &QLineEdit::returnPressed, this, &HelpWindow::openFoundPage);
    connect(m_keywords, &QListWidget::currentItemChanged, this, &HelpWindow::keywordChanged);
    connect(m_keywords, &QListWidget::itemActivated, this, &HelpWindow::openFoundPage);
    connect(m_found, &QListWidget::itemActivated, this, &HelpWindow::openFoundPage);
    connect(m_display, &QPushButton::clicked, this, &HelpWindow::openFoundPage);

    openPage(helpContentsPage());
}

void HelpWindow::showContents() {
    m_tabs->setCurrentIndex(0);
    openPage(helpContentsPage());
    bringForward();
    m_contents->setFocus();
}

void HelpWindow::showSearch(const QString& words) {
    m_tabs->setCurrentIndex(1);
    bringForward();
    if (!words.isNull())
        m_searchField->setText(words);
    m_searchField->setFocus();
    m_searchField->selectAll();
}

void HelpWindow::showHowToUseHelp() {
    openPage(helpOnHelpPage());
    bringForward();
}

void HelpWindow::showTopic(const QString& topic) {
    openPage(pageOf(helpPageFor(topic)));
    bringForward();
}

QUrl HelpWindow::currentPage() const {
    return m_browser->source();
}

QStringList HelpWindow::foundPages() const {
    QStringList pages;
    for (int row = 0; row < m_found->count(); ++row)
        pages << m_found->item(row)->data(PageRole).toString();
    return pages;
}

void HelpWindow::openPage(const QString& page) {
    const QUrl url = helpPageUrl(page);
    if (m_browser->source() != url)
        m_browser->setSource(url);
}

void HelpWindow::bringForward() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void HelpWindow::searchTextChanged(const QString& text) {
    const QString typed = text.simplified();
    // Follow the typing in the word list, as a printed index is read.
    for (int row = 0; row < m_keywords->count(); ++row) {
        QListWidgetItem* item = m_keywords->item(row);
        if (!typed.isEmpty() && item->text().startsWith(typed, Qt::CaseInsensitive)) {
            m_keywords->setCurrentItem(item);
            m_keywords->scrollToItem(item, QAbstractItemView::PositionAtTop);
            return;
        }
    }
    const QSignalBlocker blocker(m_keywords);
    m_keywords->setCurrentItem(nullptr);
    m_keywords->clearSelection();
    listFoundPages(m_index.search(typed));
}

void HelpWindow::keywordChanged() {
    QListWidgetItem* item = m_keywords->currentItem();
    listFoundPages(item ? m_index.pagesForKeyword(item->text()) : QStringList());
}

void HelpWindow::listFoundPages(const QStringList& pages) {
    m_found->clear();
    for (const QString& page : pages) {
        auto* item = new QListWidgetItem(m_index.title(page), m_found);
        item->setData(PageRole, page);
    }
    if (m_found->count() > 0)
        m_found->setCurrentRow(0);
    m_display->setEnabled(m_found->count() > 0);
}

void HelpWindow::openFoundPage() {
    QListWidgetItem* item = m_found->currentItem();
    if (item)
        openPage(item->data(PageRole).toString());
}

void HelpWindow::sourceChanged(const QUrl& url) {
    const QString page = pageOf(url);
    const QSignalBlocker blocker(m_contents);
    for (int row = 0; row < m_contents->count(); ++row) {
        if (m_contents->item(row)->data(PageRole).toString() == page) {
            m_contents->setCurrentRow(row);
            return;
        }
    }
    m_contents->clearSelection();
}

}  // namespace srk

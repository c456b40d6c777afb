#include "ui/songs/SongTabBar.h"

#include <QStyleOptionTab>
#include <QStylePainter>

namespace srk {

namespace {

const QString kSelectedSuffix = QStringLiteral("   ");

QFont boldOf(QFont font) {
    font.setWeight(QFont::Bold);
    return font;
}

// How much wider a text is in bold than in the plain font. Trailing blanks count: the plain tab
// measures without them.
int boldExtra(const QFont& font, const QString& text) {
    const int bold = QFontMetrics(boldOf(font)).horizontalAdvance(text);
    const int plain = QFontMetrics(font).size(Qt::TextShowMnemonic, text).width();
    return std::max(0, bold - plain);
}

} // namespace

SongTabBar::SongTabBar(QWidget* parent) : QTabBar(parent) {
    // Every order stays in view with its whole text: the window is at least as wide as its tabs.
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    connect(this, &QTabBar::currentChanged, this, &SongTabBar::markSelected);
}

int SongTabBar::addPlainTab(const QString& text) {
    m_texts.append(text);
    const int index = addTab(text);
    if (index == currentIndex())
        markSelected(index);
    return index;
}

void SongTabBar::setPlainText(int index, const QString& text) {
    if (index < 0 || index >= m_texts.size())
        return;
    m_texts[index] = text;
    setTabText(index, index == m_marked ? text + kSelectedSuffix : text);
}

QString SongTabBar::plainText(int index) const {
    return m_texts.value(index);
}

void SongTabBar::markSelected(int index) {
    if (m_marked >= 0 && m_marked < m_texts.size())
        setTabText(m_marked, m_texts[m_marked]);
    m_marked = index;
    if (index >= 0 && index < m_texts.size())
        setTabText(index, m_texts[index] + kSelectedSuffix);
}

QSize SongTabBar::tabSizeHint(int index) const {
    QSize size = QTabBar::tabSizeHint(index);
    // Every tab is sized for its selected, bold text with the blanks, so the tabs keep their places
    // when the selection moves.
    size.rwidth() += boldExtra(font(), m_texts.value(index) + kSelectedSuffix);
    return size;
}

QSize SongTabBar::minimumTabSizeHint(int index) const {
    return tabSizeHint(index);
}

void SongTabBar::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
        QStyleOptionTab option;
        initStyleOption(&option, i);
        painter.drawControl(QStyle::CE_TabBarTabShape, option);
        QFont font = this->font();
        if (i == currentIndex()) {
            font = boldOf(font);
            // The label is laid out (and elided) by these metrics: they must be the bold ones.
            option.fontMetrics = QFontMetrics(font);
        }
        painter.setFont(font);
        painter.drawControl(QStyle::CE_TabBarTabLabel, option);
    }
}

} // namespace srk

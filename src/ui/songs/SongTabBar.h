#pragma once

#include <QTabBar>

namespace srk {

// The song browser's order tabs: the selected tab reads its text followed by three blanks, in bold,
// so the wider bold text still fits; the others read their plain text.
class SongTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit SongTabBar(QWidget* parent = nullptr);

    // Sets a tab's own text (without the blanks the selection adds).
    void setPlainText(int index, const QString& text);
    QString plainText(int index) const;
    int addPlainTab(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Room for the text in bold, which is how the selected tab shows it.
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;

private:
    void markSelected(int index);

    QStringList m_texts;
    int m_marked = -1;
};

} // namespace srk

#include "ui/reports/PrintRangeWindow.h"

#include "reports/ReportPageList.h"
#include "ui/services/WindowSize.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace srk {

namespace {

// The letter a mnemonic underlines is drawn apart from its neighbours, without the kerning the label's
// size hint counts on: a short label such as "To" would lose part of its last letter.
QLabel* spinLabel(const QString& text, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(buddy);
    const QFontMetrics metrics(label->font());
    const QString shown = QString(text).remove(QLatin1Char('&'));
    int apart = 0;
    for (QChar c : shown)
        apart += metrics.horizontalAdvance(c);
    label->setMinimumWidth(std::max(label->sizeHint().width(), apart + metrics.averageCharWidth() / 2));
    return label;
}

}  // namespace

PrintRangeWindow::PrintRangeWindow(ReportPageList& pages, const QVector<bool>& marks, QWidget* parent)
    : QDialog(parent), m_pages(pages), m_marks(marks) {
    setObjectName(QStringLiteral("printRange"));
    setWindowTitle(QStringLiteral("Print..."));
    const int count = pages.count();
    m_marks.resize(count);
    const int marked = int(std::count(m_marks.cbegin(), m_marks.cend(), true));

    auto* group = new QGroupBox(QStringLiteral("Print Range"), this);
    m_all = new QRadioButton(QStringLiteral("&All Pages"), group);
    m_all->setObjectName(QStringLiteral("allPages"));
    m_marked = new QRadioButton(marked > 0 ? QString::number(marked) + QStringLiteral(" &Marked Pages Only")
                                           : QStringLiteral("&Marked Pages Only"),
                                group);
    m_marked->setObjectName(QStringLiteral("markedPages"));
    m_marked->setEnabled(marked > 0);
    m_unmarked = new QRadioButton(QStringLiteral("&Unmarked Pages Only"), group);
    m_unmarked->setObjectName(QStringLiteral("unmarkedPages"));
    m_unmarked->setEnabled(marked > 0 && marked < count);
    m_range = new QRadioButton(QStringLiteral("&Range of Pages"), group);
    m_range->setObjectName(QStringLiteral("rangeOfPages"));
    m_from = new QSpinBox(group);
    m_from->setObjectName(QStringLiteral("fromPage"));
    m_to = new QSpinBox(group);
    m_to->setObjectName(QStringLiteral("toPage"));
    const int last = std::max(count, 1);
    m_from->setRange(1, last);
    m_to->setRange(1, last);
    m_from->setValue(1);
    m_to->setValue(last);
    m_all->setChecked(true);

    auto* spins = new QFormLayout;
    spins->addRow(spinLabel(QStringLiteral("&From"), m_from, group), m_from);
    spins->addRow(spinLabel(QStringLiteral("&To"), m_to, group), m_to);
    auto* inner = new QVBoxLayout(group);
    inner->addWidget(m_all);
    inner->addWidget(m_marked);
    inner->addWidget(m_unmarked);
    inner->addWidget(m_range);
    inner->addLayout(spins);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("&OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(QStringLiteral("&Cancel"), QDialogButtonBox::RejectRole)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(buttons);
    fitWindow(this);

    // Limits are set above before the coupling is connected, so opening selects nothing.
    connect(m_from, &QSpinBox::valueChanged, this, &PrintRangeWindow::fromChanged);
    connect(m_to, &QSpinBox::valueChanged, this, &PrintRangeWindow::toChanged);
    m_from->setMaximum(m_to->value());
    m_to->setMinimum(m_from->value());
}

void PrintRangeWindow::fromChanged(int value) {
    m_range->setChecked(true);
    m_to->setMinimum(value);
}

void PrintRangeWindow::toChanged(int value) {
    m_range->setChecked(true);
    m_from->setMaximum(value);
}

PrintRangeWindow::Range PrintRangeWindow::range() const {
    if (m_marked->isChecked())
        return MarkedPages;
    if (m_unmarked->isChecked())
        return UnmarkedPages;
    if (m_range->isChecked())
        return PageRange;
    return AllPages;
}

int PrintRangeWindow::fromPage() const { return m_from->value(); }
int PrintRangeWindow::toPage() const { return m_to->value(); }

QVector<int> PrintRangeWindow::pagesKept(Range range, const QVector<bool>& marks, int from, int to) {
    QVector<int> kept;
    for (int i = 0; i < marks.size(); ++i) {
        const bool wanted = range == MarkedPages     ? marks[i]
                            : range == UnmarkedPages ? !marks[i]
                            : range == PageRange     ? (i + 1 >= from && i + 1 <= to)
                                                     : true;
        if (wanted)
            kept.append(i);
    }
    return kept;
}

void PrintRangeWindow::applyRange() {
    const Range chosen = range();
    if (chosen == AllPages)
        return;
    const QVector<int> kept = pagesKept(chosen, m_marks, fromPage(), toPage());
    // From the last page to the first, so the positions still to visit do not move.
    for (int i = m_pages.count() - 1; i >= 0; --i)
        if (!kept.contains(i))
            m_pages.removeAt(i);
}

void PrintRangeWindow::accept() {
    applyRange();
    QDialog::accept();
}

}  // namespace srk

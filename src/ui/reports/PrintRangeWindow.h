#pragma once

#include <QDialog>
#include <QVector>

class QRadioButton;
class QSpinBox;

namespace srk {

class ReportPageList;

// The "Print..." window of the preview: which of the previewed pages go to the printer. On "&OK" the
// pages not wanted are dropped from the list (and their files deleted); "&Cancel" changes nothing.
class PrintRangeWindow : public QDialog {
    Q_OBJECT
public:
    enum Range { AllPages = 1, MarkedPages, UnmarkedPages, PageRange };

    // `marks` holds one flag per page of `pages`.
    PrintRangeWindow(ReportPageList& pages, const QVector<bool>& marks, QWidget* parent = nullptr);

    Range range() const;
    int fromPage() const;
    int toPage() const;

    // Drops the pages the chosen range leaves out, walking from the last page to the first.
    void applyRange();

    void accept() override;

    // The pages (0-based) a range keeps out of `count` pages with those marks.
    static QVector<int> pagesKept(Range range, const QVector<bool>& marks, int from, int to);

private:
    void fromChanged(int value);
    void toChanged(int value);

    ReportPageList& m_pages;
    QVector<bool> m_marks;
    QRadioButton* m_all = nullptr;
    QRadioButton* m_marked = nullptr;
    QRadioButton* m_unmarked = nullptr;
    QRadioButton* m_range = nullptr;
    QSpinBox* m_from = nullptr;
    QSpinBox* m_to = nullptr;
};

}  // namespace srk

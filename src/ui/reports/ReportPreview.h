#pragma once

#include <QDialog>
#include <QImage>
#include <QStringList>
#include <QVector>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;

namespace srk {

class ReportPageList;

// The "Report Preview" window: one page of a finished report at a time, with zoom, page navigation,
// page marks, saving a page as a picture file and choosing the pages to print. Only the page shown is
// held as a picture; the others stay in their page files.
class ReportPreview : public QDialog {
    Q_OBJECT
public:
    enum Response { Completed = 1, Cancelled = 2 };
    static constexpr double kZoomStep = 0.25;
    static constexpr double kMaxZoom = 2.0;
    static constexpr double kMinInitialZoom = 0.5;

    // The page-count marker is put into the pages here, before the first is shown. `initialZoomChoice`
    // (1-based in the zoom list) replaces the fitted zoom when it is above 0.
    explicit ReportPreview(ReportPageList& pages, QWidget* parent = nullptr, int initialZoomChoice = 0);
    ~ReportPreview() override;

    // Shows the window modally; Completed when the user chose Print and confirmed the pages, the list
    // then holding exactly those pages.
    static Response run(ReportPageList& pages, QWidget* parent = nullptr);

    Response response() const { return m_response; }
    const ReportPageList& pages() const { return m_pages; }
    int currentPage() const { return m_current; }
    int pageCount() const { return m_count; }
    int markedCount() const { return m_markedCount; }
    bool isMarked(int page) const { return m_marks.value(page - 1); }
    const QVector<bool>& marks() const { return m_marks; }
    QStringList zoomEntries() const;
    int zoomChoice() const { return m_zoomChoice; }
    double zoom() const { return m_zoom; }
    double fitWidthZoom() const { return m_fitWidth; }
    double fitHeightZoom() const { return m_fitHeight; }
    // The page shown, as drawn at the current zoom.
    const QImage& pageImage() const { return m_image; }
    // Where the page view is scrolled to.
    QPoint scrollPosition() const;

    void showPage(int page);
    void firstPage() { showPage(1); }
    void previousPage();
    void nextPage();
    void lastPage() { showPage(m_count); }
    void goToPage();
    void zoomIn();
    void zoomOut();
    void chooseZoom(int choice);
    void toggleMark();
    // Writes the current page to `path` as SVG, or as PDF when the name ends in ".pdf".
    bool savePage(const QString& path);
    void saveAsMetafile();
    // Opens the print window; a confirmed one closes the preview with Completed.
    void print();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void computeFits();
    void applyZoom();
    void renderPage();
    void scrollBy(int dx, int dy);
    int stepChoice(double zoom) const;  // the entry of a step zoom
    int largestStepAtMost(double zoom) const;

    ReportPageList& m_pages;
    QVector<bool> m_marks;
    int m_markedCount = 0;
    int m_count = 0;
    int m_current = 1;
    int m_zoomChoice = 1;
    double m_zoom = 1.0;
    double m_fitWidth = 1.0;
    double m_fitHeight = 1.0;
    QSize m_naturalSize;  // page 1 at 100 %, plus the margin
    Response m_response = Cancelled;
    QString m_saveName;
    QImage m_image;
    int m_imagePage = 0;
    double m_imageZoom = 0;
    bool m_shownOnce = false;

    QComboBox* m_zoomList = nullptr;
    QPushButton* m_zoomIn = nullptr;
    QPushButton* m_zoomOut = nullptr;
    QPushButton* m_first = nullptr;
    QPushButton* m_previous = nullptr;
    QPushButton* m_next = nullptr;
    QPushButton* m_last = nullptr;
    QPushButton* m_goTo = nullptr;
    QLabel* m_status = nullptr;
    QCheckBox* m_mark = nullptr;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_view = nullptr;
};

}  // namespace srk

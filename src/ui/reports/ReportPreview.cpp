#include "ui/reports/ReportPreview.h"

#include "render/PageRenderer.h"
#include "reports/PageCountMarker.h"
#include "reports/PageFile.h"
#include "reports/ReportPageList.h"
#include "ui/reports/JumpToPage.h"
#include "ui/reports/PrintRangeWindow.h"
#include "ui/services/ModalWindows.h"
#include "ui/services/WindowOnScreen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace srk {

namespace {

constexpr int kZoomEntries = 9;  // "Width" and 25 % to 200 %
constexpr int kMargin = 10;      // around the page image, in screen pixels at 100 %

double floorToStep(double zoom) { return std::floor(zoom / ReportPreview::kZoomStep + 1e-9) * ReportPreview::kZoomStep; }

QPushButton* button(const QString& text, const char* name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

}  // namespace

ReportPreview::ReportPreview(ReportPageList& pages, QWidget* parent, int initialZoomChoice)
    : QDialog(parent), m_pages(pages) {
    setObjectName(QStringLiteral("reportPreview"));
    setWindowTitle(QStringLiteral("Report Preview"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    m_count = pages.count();
    // The total is known only now that the run has ended.
    replacePageCountMarkers(pages);

    auto* exit = button(QStringLiteral("Exit (Cancel Print)"), "exitButton", this);
    m_zoomIn = button(QStringLiteral("Zoom In"), "zoomIn", this);
    m_zoomOut = button(QStringLiteral("Zoom Out"), "zoomOut", this);
    auto* zoomLabel = new QLabel(QStringLiteral("Zoom:"), this);
    m_zoomList = new QComboBox(this);
    m_zoomList->setObjectName(QStringLiteral("zoomList"));
    m_zoomList->setToolTip(QStringLiteral("Select Zoom Size"));
    m_zoomList->addItems(zoomEntries());
    zoomLabel->setBuddy(m_zoomList);
    m_first = button(QStringLiteral("First Page"), "firstPage", this);
    m_previous = button(QStringLiteral("Previous Page"), "previousPage", this);
    m_next = button(QStringLiteral("Next Page"), "nextPage", this);
    m_last = button(QStringLiteral("Last Page"), "lastPage", this);
    m_goTo = button(QStringLiteral("Go To Page.."), "goToPage", this);
    m_status = new QLabel(QStringLiteral("Page 0 of 0"), this);
    m_status->setObjectName(QStringLiteral("pageStatus"));
    auto* save = button(QStringLiteral("Save as Metafile.."), "saveAsMetafile", this);
    m_mark = new QCheckBox(QStringLiteral("&Mark"), this);
    m_mark->setObjectName(QStringLiteral("markPage"));
    m_mark->setToolTip(QStringLiteral("Mark This Page"));
    auto* printButton = button(QStringLiteral("Print.."), "printButton", this);

    m_view = new QLabel;
    m_view->setObjectName(QStringLiteral("pageView"));
    m_view->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scroll = new QScrollArea(this);
    m_scroll->setObjectName(QStringLiteral("pageScroll"));
    m_scroll->setWidget(m_view);
    m_scroll->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_scroll->setBackgroundRole(QPalette::Dark);

    auto* top = new QHBoxLayout;
    top->addWidget(exit);
    top->addSpacing(8);
    top->addWidget(m_zoomIn);
    top->addWidget(m_zoomOut);
    top->addWidget(zoomLabel);
    top->addWidget(m_zoomList);
    top->addSpacing(8);
    top->addWidget(save);
    top->addWidget(printButton);
    top->addStretch(1);
    auto* nav = new QHBoxLayout;
    nav->addWidget(m_first);
    nav->addWidget(m_previous);
    nav->addWidget(m_next);
    nav->addWidget(m_last);
    nav->addWidget(m_goTo);
    nav->addSpacing(8);
    nav->addWidget(m_status);
    nav->addStretch(1);
    nav->addWidget(m_mark);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(nav);
    layout->addWidget(m_scroll, 1);
    resize(860, 680);
    layout->activate();

    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_zoomIn, &QPushButton::clicked, this, &ReportPreview::zoomIn);
    connect(m_zoomOut, &QPushButton::clicked, this, &ReportPreview::zoomOut);
    connect(m_zoomList, &QComboBox::activated, this, [this](int index) { chooseZoom(index + 1); });
    connect(m_first, &QPushButton::clicked, this, &ReportPreview::firstPage);
    connect(m_previous, &QPushButton::clicked, this, &ReportPreview::previousPage);
    connect(m_next, &QPushButton::clicked, this, &ReportPreview::nextPage);
    connect(m_last, &QPushButton::clicked, this, &ReportPreview::lastPage);
    connect(m_goTo, &QPushButton::clicked, this, &ReportPreview::goToPage);
    connect(save, &QPushButton::clicked, this, &ReportPreview::saveAsMetafile);
    connect(m_mark, &QCheckBox::clicked, this, &ReportPreview::toggleMark);
    connect(printButton, &QPushButton::clicked, this, &ReportPreview::print);
    // The arrows move the page, whichever control has the focus.
    const struct { int key, dx, dy; } arrows[] = {
        {Qt::Key_Down, 0, 51}, {Qt::Key_Up, 0, -51}, {Qt::Key_Right, 52, 0}, {Qt::Key_Left, -52, 0}};
    for (const auto& a : arrows) {
        auto* shortcut = new QShortcut(QKeySequence(a.key), this);
        connect(shortcut, &QShortcut::activated, this, [this, dx = a.dx, dy = a.dy] { scrollBy(dx, dy); });
    }

    m_goTo->setEnabled(m_count > 1);
    m_marks = QVector<bool>(m_count, false);
    showPage(1);
    computeFits();
    double initial = qBound(kZoomStep, std::max(std::min(m_fitWidth, m_fitHeight), kMinInitialZoom), kMaxZoom);
    m_zoomChoice = initialZoomChoice >= 1 && initialZoomChoice <= kZoomEntries ? initialZoomChoice : stepChoice(initial);
    m_zoomList->setCurrentIndex(m_zoomChoice - 1);
    applyZoom();
}

ReportPreview::~ReportPreview() = default;

ReportPreview::Response ReportPreview::run(ReportPageList& pages, QWidget* parent) {
    ModalWindow<ReportPreview> window(pages, parent);
    const ModalResult result = window.exec();
    if (result.gone)
        return Cancelled;
    return window->response();
}

QStringList ReportPreview::zoomEntries() const {
    QStringList entries{QStringLiteral("Width")};
    for (int percent = 25; percent <= 200; percent += 25)
        entries << QString::number(percent) + QLatin1Char('%');
    return entries;
}

QPoint ReportPreview::scrollPosition() const {
    return {m_scroll->horizontalScrollBar()->value(), m_scroll->verticalScrollBar()->value()};
}

void ReportPreview::showPage(int page) {
    if (m_count < 1) {
        m_current = 0;
        for (QWidget* w : {static_cast<QWidget*>(m_first), static_cast<QWidget*>(m_previous),
                           static_cast<QWidget*>(m_next), static_cast<QWidget*>(m_last), static_cast<QWidget*>(m_mark)})
            w->setEnabled(false);
        return;
    }
    m_current = qBound(1, page, m_count);
    m_first->setEnabled(m_current > 1);
    m_previous->setEnabled(m_current > 1);
    m_next->setEnabled(m_current < m_count);
    m_last->setEnabled(m_current < m_count);
    m_status->setText(QStringLiteral("Page %1 of %2").arg(m_current).arg(m_count));
    m_mark->setChecked(m_marks.value(m_current - 1));
    renderPage();
}

void ReportPreview::previousPage() {
    if (m_current > 1)
        showPage(m_current - 1);
}

void ReportPreview::nextPage() {
    if (m_current < m_count)
        showPage(m_current + 1);
}

void ReportPreview::goToPage() {
    const int page = jumpToPage(this, m_current, m_count);
    showPage(page);
}

void ReportPreview::computeFits() {
    Page first;
    if (m_count > 0)
        readPage(m_pages.path(0), first);
    const double dpiX = logicalDpiX(), dpiY = logicalDpiY();
    m_naturalSize = QSize(int(std::lround(first.width * dpiX / 1000.0)) + kMargin,
                          int(std::lround(first.height * dpiY / 1000.0)) + kMargin);
    const QSize client = m_scroll->size();
    m_fitWidth = std::max(0.0, floorToStep(double(client.width() - 25) / m_naturalSize.width()));
    m_fitHeight = std::max(0.0, floorToStep(double(client.height() - 18) / m_naturalSize.height()));
}

int ReportPreview::stepChoice(double zoom) const { return qBound(2, int(std::lround(zoom / kZoomStep)) + 1, kZoomEntries); }

int ReportPreview::largestStepAtMost(double zoom) const {
    return qBound(2, int(std::floor(zoom / kZoomStep + 1e-9)) + 1, kZoomEntries);
}

void ReportPreview::zoomIn() {
    int choice = m_zoomChoice;
    if (choice == 1)
        choice = largestStepAtMost(m_fitWidth);
    if (choice < kZoomEntries)
        ++choice;
    chooseZoom(choice);
}

void ReportPreview::zoomOut() {
    int choice = m_zoomChoice;
    if (choice == 1)
        choice = std::min(largestStepAtMost(m_fitWidth) + 1, kZoomEntries);
    // Never back onto "Width": 25 % is the smallest reachable.
    if (choice > 2)
        --choice;
    chooseZoom(choice);
}

void ReportPreview::chooseZoom(int choice) {
    m_zoomChoice = qBound(1, choice, kZoomEntries);
    m_zoomList->setCurrentIndex(m_zoomChoice - 1);
    applyZoom();
}

void ReportPreview::applyZoom() {
    m_zoom = m_zoomChoice == 1 ? std::max(m_fitWidth, kZoomStep) : (m_zoomChoice - 1) * kZoomStep;
    renderPage();
}

void ReportPreview::renderPage() {
    if (m_count < 1 || m_naturalSize.isEmpty())
        return;
    if (m_imagePage == m_current && m_imageZoom == m_zoom)
        return;
    const QSize size(int(std::lround(m_naturalSize.width() * m_zoom)), int(std::lround(m_naturalSize.height() * m_zoom)));
    const double dpiX = logicalDpiX() * m_zoom, dpiY = logicalDpiY() * m_zoom;
    QImage image(size, QImage::Format_RGB32);
    image.fill(palette().color(QPalette::Dark));
    image.setDotsPerMeterX(int(std::lround(dpiX / 0.0254)));
    image.setDotsPerMeterY(int(std::lround(dpiY / 0.0254)));
    Page page;
    if (readPage(m_pages.path(m_current - 1), page)) {
        QPainter painter(&image);
        const double offset = kMargin / 2.0 * m_zoom;
        painter.fillRect(QRectF(offset, offset, page.width * dpiX / 1000.0, page.height * dpiY / 1000.0), Qt::white);
        painter.translate(offset, offset);
        PageRenderer::paint(painter, page, dpiX, dpiY);
    }
    // Only the page on show is kept as a picture.
    m_image = image;
    m_imagePage = m_current;
    m_imageZoom = m_zoom;
    m_view->setPixmap(QPixmap::fromImage(m_image));
    m_view->resize(m_image.size());
}

void ReportPreview::scrollBy(int dx, int dy) {
    QScrollBar* h = m_scroll->horizontalScrollBar();
    QScrollBar* v = m_scroll->verticalScrollBar();
    h->setValue(h->value() + dx);
    v->setValue(v->value() + dy);
}

void ReportPreview::toggleMark() {
    if (m_current < 1)
        return;
    bool& mark = m_marks[m_current - 1];
    mark = !mark;
    m_markedCount += mark ? 1 : -1;
    m_mark->setChecked(mark);
}

bool ReportPreview::savePage(const QString& path) {
    if (m_current < 1)
        return false;
    return writePageFile(m_pages.path(m_current - 1), path);
}

void ReportPreview::saveAsMetafile() {
    QString chosenFilter;
    QString name = QFileDialog::getSaveFileName(this, QStringLiteral("Save Current Page to MetaFile..."), m_saveName,
                                                QStringLiteral("SVG Picture (*.svg);;PDF File (*.pdf)"), &chosenFilter);
    if (name.isEmpty())
        return;
    if (!name.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive) &&
        !name.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        name += chosenFilter.contains(QLatin1String("pdf")) ? QStringLiteral(".pdf") : QStringLiteral(".svg");
    m_saveName = name;
    // A failed copy has no message of its own.
    savePage(name);
}

void ReportPreview::print() {
    ModalWindow<PrintRangeWindow> window(m_pages, m_marks, this);
    const ModalResult result = window.exec();
    if (result.gone || !result.accepted())
        return;
    m_response = Completed;
    accept();
}

void ReportPreview::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_shownOnce || !isWindow())
        return;
    m_shownOnce = true;
    // Once the window manager has framed it, the whole frame is known: title bar and all go on a screen.
    QTimer::singleShot(0, this, [this] { placeOnScreens(this, geometry()); });
}

void ReportPreview::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (m_count < 1)
        return;
    computeFits();
    if (m_zoomChoice == 1)
        applyZoom();
}

}  // namespace srk

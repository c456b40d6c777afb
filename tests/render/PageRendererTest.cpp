#include "render/PageRenderer.h"
#include "render/ReportFonts.h"
#include "reports/PageFile.h"
#include "reports/ReportPageList.h"

#include "support/TempFolder.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace srk;

namespace {

QString writeSample(const QString& path, const QString& text) {
    PageWriter w(8500, 11000);
    w.font(PageFont{QStringLiteral("Arial"), 120, PageFont::Bold, 0});
    w.text(500, 500, 7500, 250, PageAlign::Center, text);
    w.font(PageFont{QStringLiteral("MS Sans Serif"), 80, 0, 0});
    w.text(500, 1000, 2000, 150, PageAlign::Left, QStringLiteral("Beatles"));
    w.line(500, 900, 8000, 900, 10);
    w.box(500, 1200, 1000, 500, 10, 0x0000ff);
    EXPECT_TRUE(w.save(path));
    return path;
}

QString run(const QString& program, const QStringList& args, int* exitCode = nullptr) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {};
    if (exitCode)
        *exitCode = p.exitCode();
    return QString::fromUtf8(p.readAllStandardOutput());
}

bool havePoppler() {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-v")});
    return p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

}  // namespace

TEST(PageRenderer, ASinglePageSavesAsValidSvgAndPdf) {
    TempFolder folder;
    const QString page = writeSample(folder.file(QStringLiteral("p.srp")), QStringLiteral("Songs by Artist"));

    const QString svg = folder.file(QStringLiteral("page.svg"));
    QString why;
    ASSERT_TRUE(writePageFile(page, svg, &why)) << why.toStdString();
    QFile f(svg);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    bool sawSvg = false, sawText = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("svg"))
            sawSvg = true;
        if (xml.isCharacters() && xml.text().contains(QLatin1String("Songs by Artist")))
            sawText = true;
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_TRUE(sawSvg);
    EXPECT_TRUE(sawText);

    const QString pdf = folder.file(QStringLiteral("page.PDF"));
    ASSERT_TRUE(writePageFile(page, pdf, &why)) << why.toStdString();
    QFile p(pdf);
    ASSERT_TRUE(p.open(QIODevice::ReadOnly));
    EXPECT_TRUE(p.read(5) == "%PDF-");
    if (havePoppler()) {
        const QString text = run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        EXPECT_TRUE(text.contains(QLatin1String("Songs by Artist")));
        EXPECT_TRUE(text.contains(QLatin1String("Beatles")));
    }
    EXPECT_FALSE(writePageFile(folder.file(QStringLiteral("missing.srp")), pdf, &why));
}

TEST(PageRenderer, AListBecomesOnePdfPagePerFile) {
    TempFolder folder;
    ReportPageList pages(folder.path());
    ASSERT_TRUE(pages.isUsable());
    for (int i = 1; i <= 3; ++i) {
        writeSample(pages.nextPagePath(), QStringLiteral("Page number %1").arg(i));
        pages.append();
    }
    const QString pdf = folder.file(QStringLiteral("all.pdf"));
    QString why;
    int calls = 0;
    ASSERT_TRUE(writePdf(pages, pdf, &why, [&](int done) { return ++calls == done; })) << why.toStdString();
    EXPECT_EQ(calls, 3);
    if (!havePoppler())
        GTEST_SKIP() << "poppler-utils not installed";
    const QString info = run(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\b")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QLatin1String("612 x 792"))) << info.toStdString();  // letter, in points
    for (int i = 1; i <= 3; ++i) {
        const QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QString::number(i), QStringLiteral("-l"),
                                                              QString::number(i), pdf, QStringLiteral("-")});
        EXPECT_TRUE(text.contains(QStringLiteral("Page number %1").arg(i))) << i;
    }
    // Stopping midway is reported.
    EXPECT_FALSE(writePdf(pages, folder.file(QStringLiteral("stopped.pdf")), &why, [](int done) { return done < 2; }));
}

TEST(PageRenderer, TextIsCutAtItsBoxNeverDrawnOverTheNextColumn) {
    Page page;
    page.width = 4000;
    page.height = 1000;
    PageItem font;
    font.kind = PageItem::Font;
    font.font = PageFont{QStringLiteral("MS Sans Serif"), 200, 0, 0};
    PageItem text;
    text.kind = PageItem::Text;
    text.x = 100;
    text.y = 100;
    text.w = 1000;
    text.h = 400;
    text.text = QStringLiteral("WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    page.items = {font, text};
    QImage image(400, 100, QImage::Format_RGB32);  // 100 dpi
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        PageRenderer::paint(painter, page, 100, 100);
    }
    auto darkIn = [&](int x0, int x1) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = x0; x < x1; ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    ++dark;
        return dark;
    };
    EXPECT_GT(darkIn(10, 110), 50);   // the box holds text
    EXPECT_EQ(darkIn(111, 400), 0);   // nothing past its right edge
}

TEST(PageRenderer, LayoutFontsMapToInstalledFacesOfTheSameWidths) {
    const QStringList families = QFontDatabase::families();
    if (families.contains(QStringLiteral("Liberation Sans"))) {
        EXPECT_EQ(installedFace(QStringLiteral("Arial")), QStringLiteral("Liberation Sans"));
        EXPECT_EQ(installedFace(QStringLiteral("MS Sans Serif")), QStringLiteral("Liberation Sans"));
    }
    if (families.contains(QStringLiteral("DejaVu Sans Condensed"))) {
        EXPECT_EQ(installedFace(QStringLiteral("Small Fonts")), QStringLiteral("DejaVu Sans Condensed"));
    }
    // A face that is installed stays itself.
    ASSERT_FALSE(families.isEmpty());
    EXPECT_EQ(installedFace(families.first()), families.first());
    installReportFontSubstitutions();
    EXPECT_FALSE(QFont::substitutes(QStringLiteral("Arial")).isEmpty());
}

TEST(PageRenderer, APageBecomesAScreenPictureOfItsPaperSize) {
    TempFolder folder;
    const QString page = writeSample(folder.file(QStringLiteral("p.srp")), QStringLiteral("Songs by Artist"));
    const QImage image = pageImage(page, 50);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(425, 550));  // 8.5 x 11 inches at 50 dpi
    // The filled box (0x0000ff: red, red being the low byte; from x 0.5 in, y 1.2 in) is painted where it
    // belongs; the margin stays white.
    EXPECT_EQ(QColor(image.pixel(40, 70)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(image.pixel(5, 5)), QColor(Qt::white));
    QString why;
    EXPECT_TRUE(pageImage(folder.file(QStringLiteral("none.srp")), 50, &why).isNull());
    EXPECT_FALSE(why.isEmpty());
}

TEST(PageRenderer, APictureKeepsItsProportionsInItsBoxAndAMissingOneDrawsNothing) {
    TempFolder folder;
    QImage wide(200, 100, QImage::Format_RGB32);  // twice as wide as high
    wide.fill(Qt::black);
    const QString picture = folder.file(QStringLiteral("logo.png"));
    ASSERT_TRUE(wide.save(picture));
    Page page;
    page.width = 4000;
    page.height = 4000;
    for (const QString& path : {picture, folder.file(QStringLiteral("missing.gif"))}) {
        PageItem image;
        image.kind = PageItem::Image;
        image.x = 0;
        image.y = 0;
        image.w = 2000;  // a square box
        image.h = 2000;
        image.text = path;
        page.items = {image};
        QImage out(400, 400, QImage::Format_RGB32);  // 100 dpi
        out.fill(Qt::white);
        {
            QPainter painter(&out);
            PageRenderer::paint(painter, page, 100, 100);
        }
        int top = 0, bottom = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x)
                (y < 100 ? top : bottom) += qGray(out.pixel(x, y)) < 128;
        if (path == picture) {
            EXPECT_GT(top, 190 * 95);  // the upper half of the box is the picture
            EXPECT_EQ(bottom, 0);      // not stretched into the lower half
        } else {
            EXPECT_EQ(top + bottom, 0);
        }
    }
}

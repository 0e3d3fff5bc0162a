// The composition: what it refuses, degenerate corners composed without undefined behaviour, and
// a smoke test that renders it to an image and a PDF.

#include "sheetfixture.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tovanel::test {
namespace {

TEST(Composition, RefusesWhatCannotMakeASheet)
{
    const struct {
        int type;
        double n;
    } cases[] = {{-1, 4}, {4, 4}, {0, 4.5}, {3, 1.5}};  // no type selected; fractional counts
    for (const auto& c : cases) {
        Doc d;
        Compose(d, {.type = c.type, .n = c.n});
        EXPECT_NE(d.refusal, "") << c.type << " " << c.n;
        EXPECT_FALSE(d.refusal.contains('\n'));
        EXPECT_EQ(d.pl.pageCount(), 0) << "nothing composed";
    }
    CalcState s;
    for (double n : {0.0, kMaxDivCount + 1.0}) {
        s.DivCount = n;
        EXPECT_NE(ComposeRefusal(s), "") << n;
    }
}

TEST(Composition, DegenerateCornersComposeAndRender)
{
    const Corner cases[] = {
        {.r = 0, .n = 2},
        {.bx = 0, .by = 0, .ix = 100, .iy = 0, .ex = 0, .ey = 1e-9, .n = 3},  // IA near 180
        {.bx = 1e15, .by = -1e15, .ix = 1e15 + 100, .iy = -1e15 + 100, .ex = 1e15, .ey = -1e15 + 200},
        {.bx = 0, .by = 0, .ix = 1e100, .iy = 1e100, .ex = 0, .ey = 2e100},
        {.r = 1e12, .n = 5},
        {.r = 2, .wi = 5, .wo = 5, .n = 1},  // widths beyond the radius
    };
    for (const Corner& corner : cases)
        for (int type = 0; type <= 3; ++type) {
            Corner c = corner;
            c.type = type;
            Doc d;
            Compose(d, c);
            ASSERT_EQ(d.refusal, "") << c.ix << " " << c.r << " type " << type;
            EXPECT_FALSE(d.pl.renderImage(1, 20).isNull());
            EXPECT_FALSE(d.pl.renderImage(2, 20).isNull());
        }
}

TEST(Composition, SmokeRendersPagesToAnImageAndAPdf)
{
    if (!SheetFontAvailable()) GTEST_SKIP() << "IPAMincho is not installed";
    Doc d;
    Compose(d, {.type = 1, .n = 8});
    ASSERT_EQ(d.refusal, "");
    const QImage page1 = d.pl.renderImage(1, 72);
    EXPECT_EQ(page1.width(), 842);
    int ink = 0;
    for (int y = 0; y < page1.height(); ++y)
        for (int x = 0; x < page1.width(); ++x) ink += qGray(page1.pixel(x, y)) < 128;
    EXPECT_GT(ink, 2000);

    const QString pdftotext = QStandardPaths::findExecutable("pdftotext");
    const QString pdffonts = QStandardPaths::findExecutable("pdffonts");
    if (pdftotext.isEmpty() || pdffonts.isEmpty()) GTEST_SKIP() << "poppler-utils not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("sheets.pdf");
    ASSERT_EQ(d.pl.writePdf(path), "");
    QProcess p;
    p.start(pdftotext, {"-layout", path, "-"});
    ASSERT_TRUE(p.waitForFinished());
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const char* expected : {"Tovanel", "役杭略図縮尺 S=1/", "街 区 点 曲 線 計 算 書", "12CBC",
                                 "12OEC", "[ 型 千鳥方式 ]"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(text.count('\f'), d.pl.pageCount());
    p.start(pdffonts, {path});
    ASSERT_TRUE(p.waitForFinished());
    EXPECT_TRUE(p.readAllStandardOutput().contains("IPAMincho"));
    EXPECT_NE(d.pl.writePdf(dir.filePath("no/such/dir/x.pdf")), "");
}

}  // namespace
}  // namespace tovanel::test

// The composition: what it refuses, degenerate corners composed without undefined behaviour,
// the export text of a whole document, and a smoke test that renders it.

#include "sheetfixture.h"

#include "../print/qstringprint.h"

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
        const char* name;
        int type;
        double n;
    } cases[] = {
        {"no type selected", -1, 4},
        {"type beyond the list", 4, 4},
        {"fractional count", 0, 4.5},
        {"fractional count, half divisions", 3, 1.5},
    };
    for (const auto& c : cases) {
        Doc d;
        Compose(d, {.type = c.type, .n = c.n});
        EXPECT_NE(d.refusal, "") << c.name;
        EXPECT_FALSE(d.refusal.contains('\n')) << c.name;
        EXPECT_EQ(d.pl.pageCount(), 0) << c.name << ": nothing composed";
    }
    CalcState s;
    s.DivCount = 0;
    EXPECT_NE(ComposeRefusal(s), "");
    s.DivCount = kMaxDivCount + 1;
    EXPECT_NE(ComposeRefusal(s), "");
    s.DivCount = kMaxDivCount;
    EXPECT_EQ(ComposeRefusal(s), "");
}

TEST(Composition, ExportTextOfAWholeDocument)
{
    // Type 3: centre and inner lists repeat EC, the outer (polygon) list too.
    for (const char* edition : {"1", "2"}) {
        Doc d;
        Compose(d, {.type = 3, .n = 4});
        ASSERT_EQ(d.refusal, "");
        d.s.IniStr[5] = edition;
        const ExportText t = BuildExportText(d.s);
        const QStringList lines = t.text.split("\r\n");
        ASSERT_EQ(lines.last(), "") << "every line ends in CR LF";
        EXPECT_EQ(t.count, lines.size() - 1);
        EXPECT_EQ(t.count, 4 + 3 * 6);
        const QString lead = QString(edition) == "1" ? "" : "\t";
        EXPECT_EQ(lines[0], lead + "BC 12\t" + NumberText(d.s.BcX) + "\t" + NumberText(d.s.BcY));
        EXPECT_EQ(lines[3], lead + "M 12\t" + NumberText(d.s.CenX) + "\t" + NumberText(d.s.CenY));
        EXPECT_TRUE(lines[4].startsWith(lead + "12CBC\t"));
        EXPECT_TRUE(lines[t.count - 1].startsWith(lead + "12OEC\t"));
    }
}

TEST(Composition, DegenerateCornersComposeAndRender)
{
    const struct {
        const char* name;
        Corner corner;
    } cases[] = {
        {"zero radius", {.r = 0, .n = 2}},
        {"IA near 180", {.bx = 0, .by = 0, .ix = 100, .iy = 0, .ex = 0, .ey = 1e-9, .n = 3}},
        {"huge coordinates",
         {.bx = 1e15, .by = -1e15, .ix = 1e15 + 100, .iy = -1e15 + 100, .ex = 1e15,
          .ey = -1e15 + 200, .n = 2}},
        {"enormous coordinates", {.bx = 0, .by = 0, .ix = 1e100, .iy = 1e100, .ex = 0, .ey = 2e100, .n = 2}},
        {"huge radius", {.r = 1e12, .n = 5}},
        {"widths beyond the radius", {.r = 2, .wi = 5, .wo = 5, .type = 3, .n = 1}},
        {"largest count", {.type = 2, .n = kMaxDivCount}},
    };
    for (const auto& c : cases) {
        for (int type = 0; type <= 3; ++type) {
            Corner corner = c.corner;
            corner.type = type;
            Doc d;
            Compose(d, corner);
            ASSERT_EQ(d.refusal, "") << c.name << " type " << type;
            EXPECT_GE(d.pl.pageCount(), 4) << c.name;
            const QImage img = d.pl.renderImage(1, 20);
            EXPECT_FALSE(img.isNull()) << c.name;
            if (corner.n == kMaxDivCount) break;  // one type is enough at this size
        }
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
    if (pdftotext.isEmpty()) GTEST_SKIP() << "poppler-utils not installed";
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
}

}  // namespace
}  // namespace tovanel::test

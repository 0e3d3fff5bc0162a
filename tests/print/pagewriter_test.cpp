// The page writer: paper scale, font sizes cut to whole points, the three alignments and the
// origins, on the positions the component records.

#include "calc/calcstate.h"
#include "print/fonts.h"
#include "print/pagelayout.h"
#include "print/pagewriter.h"

#include "qstringprint.h"

#include <gtest/gtest.h>
#include <cmath>

namespace tovanel {
namespace {

struct Paper {
    int code;
    double scale;
    const char16_t* name;
};

TEST(PageSetup, PaperScaleNameAndUnitFromThePaperCode)
{
    const Paper papers[] = {
        {kPaperA3, 1.41, u"A3"},   {kPaperA4, 1, u"A4"},         {kPaperB4, 1.19, u"B4"},
        {kPaperB5, 0.8666, u"B5"}, {kPaperOther, 1, u"定型外"},
    };
    for (const Paper& p : papers) {
        CalcState s;
        PageLayout pl;
        pl.setPaperSize(p.code);
        if (p.code == kPaperOther) pl.setPageSize(QPageSize(QPageSize::Letter));
        pl.setOrientation(kPortrait);
        PageSetup(s, pl);
        EXPECT_EQ(s.PaperScale, p.scale) << p.code;
        EXPECT_EQ(s.PaperName, QString::fromUtf16(p.name));
        EXPECT_EQ(s.MmUnit, static_cast<float>(p.scale * 56.7)) << p.code;
        EXPECT_EQ(pl.orientation(), kLandscape) << "landscape is forced";
        EXPECT_EQ(pl.fontName(), kMinchoFont);
    }
}

TEST(Vspri, FontSizeIsTheWholePartOfScaleTimesSize)
{
    const struct {
        int code;
        double fon;
        double points;
    } cases[] = {
        {kPaperA3, 10, 14}, {kPaperB5, 10, 8}, {kPaperA4, 10, 10},
        {kPaperB4, 11, 13}, {kPaperA3, 14, 19}, {kPaperB5, 9, 7},
    };
    for (const auto& c : cases) {
        CalcState s;
        PageLayout pl;
        pl.setPaperSize(c.code);
        PageSetup(s, pl);
        pl.startDoc();
        vspri(s, pl, "x", 0, 0, c.fon);
        EXPECT_EQ(pl.page(1)->back().fontSize, c.points) << c.code << " " << c.fon;
    }
}

class VspriAlign : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!SheetFontAvailable()) GTEST_SKIP() << "IPAMincho is not installed";
        pl.setPaperSize(kPaperA4);
        PageSetup(s, pl);
        s.OrgX = 25;
        s.OrgY = 15;
        pl.startDoc();
    }
    const PageItem& Write(const QString& text, double x, double y)
    {
        vspri(s, pl, text, x, y, 11);
        return pl.page(1)->back();
    }
    CalcState s;
    PageLayout pl;
};

TEST_F(VspriAlign, LeftCentredAndRightInTheirBoxes)
{
    const QString t = "  12.3456";  // 9 half-width characters: 990 twips at 11 pt
    const double u = s.MmUnit;
    const struct {
        int mode;
        float width;
        double x;
        double left;  // expected left edge, twips
    } cases[] = {
        {1, 25, 10, (10 + 25) * u},
        {7, 25, 10, (10 + 25) * u},                        // any other mode is left
        {3, 25, 20, (20 + 25) * u + (25 - 1) * u - 990},   // ends 1 mm before the box's edge
        {2, 140, 0, (0 + 25) * u + (u * 140 - 990) / 2},   // centred in the box
    };
    for (const auto& c : cases) {
        s.AlignMode = static_cast<int16_t>(c.mode);
        s.AlignWidth = c.width;
        const PageItem& it = Write(t, c.x, 27);
        EXPECT_NEAR(it.x, c.left, 0.01) << "mode " << c.mode;
        EXPECT_NEAR(it.y, (27 + 15) * u, 1e-3) << "Y is the top of the text, after the origin";
    }
}

}  // namespace
}  // namespace tovanel

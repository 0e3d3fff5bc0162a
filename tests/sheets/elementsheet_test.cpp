// The curve elements sheet on the recorded page: worked rows, every header line, positions.

#include "sheetfixture.h"

#include <gtest/gtest.h>

namespace tovanel::test {
namespace {

TEST(ElementSheet, WorkedRowsOfTheMainPointTable)
{
    // R 10, both widths 3, IA 90 (within 6e-9 degrees), N 4: IA/2N = 11.25 degrees.
    Doc d;
    Compose(d, {.r = 10, .n = 4});
    ASSERT_EQ(d.refusal, "");
    const struct {
        double lineY;
        QStringList texts;
    } rows[] = {
        {154, {"BC 12", "92.9289", "92.9289", "内 周", "3.000", "7.000", "2.7489", "2.7313",
               "0.1345", "0.0176"}},
        {161, {"SP 12", "95.8579", "99.9999", "中 心", "0.000", "10.000", "3.9270", "3.9018",
               "0.1921", "0.0252"}},
        {168, {"EC 12", "92.9289", "107.0711", "外 周", "3.000", "13.000", "5.1051", "5.1717",
               "0.2547", "-0.0666"}},
    };
    for (const auto& row : rows) EXPECT_EQ(Texts(Line(d, 1, row.lineY)), row.texts) << row.lineY;
    // "2.7489" (660 twips) ends 1 mm before the end of its 25 mm box from x 150.
    EXPECT_NEAR(Line(d, 1, 154)[6]->x + 660, (150 + 24 + 25) * 56.7, 1e-3);
    EXPECT_EQ(d.s.ExpNames[3], "EC 12");
    EXPECT_EQ(d.s.ExpNames[4], "M 12");
    EXPECT_EQ(d.s.ExpCoords[4][1], d.s.CenX);
}

TEST(ElementSheet, HeaderLines)
{
    Doc d;
    Compose(d, {.n = 8});
    ASSERT_EQ(d.refusal, "");
    const struct {
        double lineY;
        QStringList texts;
    } lines[] = {
        {0, {"Tovanel　計　算　書"}},
        {20, {"ＩＰ 12"}},
        {27, {"Ｘ       100.0000", "ＡＺ１    45ﾟ 0' 0.00\""}},
        {34, {"Ｙ       100.0000", "ＡＺ２   135ﾟ 0' 0.00\""}},
        {41, {"ＩＡ    90ﾟ 0' 0.00\"", "半径　Ｒ     100.000"}},
        {55, {"曲　線　の　要　素", "円の中心点の座標"}},
        {62, {"　　ＴＬ  100.0000", "Ｘ       -41.4214"}},
        {69, {"　　ＣＬ  157.0796", "Ｙ       100.0000"}},
        {76, {"ＣＬ／２   78.5398"}},
        {83, {"　　ＳＬ   41.4214"}},
        {90, {"　　Ｍ．   29.2893", "円弧分割数　Ｎ  8"}},
        {140, {"曲 線 の 主 要 点 座 標", "中 心・内 周・外 周 の 諸 元"}},
        {147, {"座標名", "Ｘ", "Ｙ", "半巾員", "半径", "弧／Ｎ", "弦", "Ｍ", "弧/Ｎ-弦"}},
    };
    for (const auto& l : lines) EXPECT_EQ(Texts(Line(d, 1, l.lineY)), l.texts) << l.lineY;
    const PageItem* title = Line(d, 1, 0)[0];
    EXPECT_EQ(title->fontSize, 14);
    // Centred in the 140 mm box from x 0: 6 full-width and 7 half-width characters at 14 points.
    EXPECT_NEAR(title->x + (6 * 280 + 7 * 140) / 2.0, (25 + 70) * 56.7, 0.5);

    Doc wide;  // "-12345678.1234" is 14 characters: the 13-column field drops the minus sign
    Compose(wide, {.bx = -12345778.1234, .ix = -12345678.1234, .ex = -12345778.1234});
    EXPECT_EQ(Texts(Line(wide, 1, 27))[0], "Ｘ  12345678.1234");
}

TEST(ElementSheet, TheWholeSheetScalesWithThePaperAndStaysOnIt)
{
    // Regression: advances once scaled twice put the main-point table off A3 paper.
    for (const auto& [paper, scale] : {std::pair{kPaperA4, 1.0}, {kPaperA3, 1.41}, {kPaperB4, 1.19},
                                       {kPaperB5, 0.8666}}) {
        Doc d;
        Compose(d, {.paper = paper});
        ASSERT_EQ(d.refusal, "");
        const double paperHeight = d.pl.pageSizeTwips().height();
        for (double lineY : {140.0, 154.0, 161.0, 168.0}) {
            const auto row = Line(d, 1, lineY);
            ASSERT_FALSE(row.empty()) << scale << " " << lineY;
            EXPECT_NEAR(row[0]->y, (lineY + 15) * scale * 56.7, 0.01);
            EXPECT_EQ(row[0]->fontSize, std::floor(11 * scale));
            EXPECT_LT(row[0]->y + row[0]->fontSize * 20, paperHeight) << scale;
        }
        // The table heading lies below the sketch's frame (layout 125) on every paper.
        const auto frame = std::find_if(d.pl.page(1)->begin(), d.pl.page(1)->end(),
                                        [](const PageItem& it) { return it.kind == PageItemKind::Line; });
        ASSERT_NE(frame, d.pl.page(1)->end());
        EXPECT_LT(frame->y, Line(d, 1, 127)[0]->y) << "caption under the frame";
        EXPECT_LT(Line(d, 1, 127)[0]->y + 10 * scale * 20, Line(d, 1, 140)[0]->y) << scale;
    }
}

}  // namespace
}  // namespace tovanel::test

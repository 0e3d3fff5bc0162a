#include "surface/drawsurface.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <limits>

namespace tovanel {
namespace {

TEST(DrawSurface, RecordsEachDrawingWithTheStateItWasDrawnIn)
{
    DrawSurface s;
    s.setFontName(QStringLiteral("ＭＳ 明朝"));
    s.setTextSize(24);
    s.setTextColour(255);
    s.setCurrentX(310);
    s.setCurrentY(600);
    s.drawText(QStringLiteral("  19.6350"));
    s.setTextColour(0);
    s.setCurrentX(470);  // y keeps its value
    s.drawText(QStringLiteral("x"));
    s.setLineColour(65280);
    s.setLineStyle(kLineDot);
    s.setLineWidth(3);
    s.drawLine(1, 2, 3.5, 4.25);
    s.setFill(kFillSolid);
    s.drawArc(240, 400, 223, 0.5, 2.5);

    ASSERT_EQ(s.items().size(), 4u);
    const SurfaceItem& a = s.items()[0];
    EXPECT_EQ(a.text, QStringLiteral("  19.6350"));
    EXPECT_EQ(a.font, QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(a.textSize, 24);
    EXPECT_EQ(a.colour, 255);
    EXPECT_EQ(s.items()[1].colour, 0);
    EXPECT_EQ(s.items()[1].x, 470);
    EXPECT_EQ(s.items()[1].y, 600);
    const SurfaceItem& line = s.items()[2];
    EXPECT_EQ(line.kind, SurfaceItem::Line);
    EXPECT_EQ(line.colour, 65280);  // the line colour, not the text colour
    EXPECT_EQ(line.y2, 4.25);
    EXPECT_EQ(line.lineStyle, kLineDot);
    EXPECT_EQ(line.lineWidth, 3);
    EXPECT_EQ(line.fill, kFillTransparent);
    EXPECT_EQ(s.items()[3].fill, kFillSolid);
    EXPECT_EQ(s.items()[3].endAngle, 2.5);
    EXPECT_EQ(s.texts().size(), 2u);

    s.clear();  // forgets the drawings, keeps the settings
    s.drawText(QStringLiteral("b"));
    ASSERT_EQ(s.items().size(), 1u);
    EXPECT_EQ(s.items()[0].textSize, 24);
}

TEST(BgrColour, ConvertsTheByteOrder)
{
    const struct {
        int bgr;
        QColor rgb;
    } cases[] = {{0, QColor(0, 0, 0)}, {255, QColor(255, 0, 0)}, {65280, QColor(0, 255, 0)},
                 {0xFF0000, QColor(0, 0, 255)}, {0x00123456, QColor(0x56, 0x34, 0x12)}};
    for (const auto& c : cases)
        EXPECT_EQ(BgrColour(c.bgr), c.rgb) << c.bgr;
}

TEST(DrawSurface, PaintsInLogicalUnitsScaledToTheArea)
{
    DrawSurface s;
    s.setLineColour(255);
    s.setFill(kFillSolid);
    s.drawCircle(500, 250, 20);  // the middle across, a quarter down
    QImage img(400, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    s.paintItems(p, img.size());
    p.end();
    EXPECT_EQ(QColor(img.pixel(200, 50)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(200, 150)), QColor(255, 255, 255));
}

TEST(DrawSurface, UnpaintableValuesAreSkipped)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    DrawSurface s;
    s.setCurrentX(nan);
    s.drawText(QStringLiteral("x"));
    s.setCurrentX(10);
    s.setTextSize(inf);
    s.drawText(QStringLiteral("y"));
    s.drawLine(0, 0, inf, 1e300);
    s.drawCircle(1e300, 0, 5);
    s.drawArc(500, 500, 100, nan, 1);
    QImage img(100, 100, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    s.paintItems(p, img.size());  // neither crashes nor hangs
    p.end();
    EXPECT_EQ(img.pixel(50, 50), QColor(Qt::white).rgb());
}

}  // namespace
}  // namespace tovanel

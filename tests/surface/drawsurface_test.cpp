// SPDX-License-Identifier: GPL-3.0-or-later
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
    s.setCurrentY(600);
    s.setCurrentX(470);  // y keeps its value
    s.setLineColour(65280);
    s.setLineStyle(kLineDot);
    s.setLineWidth(3);
    s.drawLine(1, 2, 3.5, 4.25);
    s.clear();  // forgets the drawings, keeps the settings
    s.setFill(kFillSolid);
    s.drawArc(240, 400, 223, 0.5, 2.5);
    s.drawText(QStringLiteral("c"));
    const auto& i = s.items();
    ASSERT_EQ(i.size(), 2u);
    EXPECT_TRUE(i[0].kind == SurfaceItem::Arc && i[0].colour == 65280 && i[0].lineStyle == kLineDot && i[0].lineWidth == 3 &&
                i[0].fill == kFillSolid && i[0].radius == 223 && i[0].endAngle == 2.5);
    EXPECT_TRUE(i[1].text == QStringLiteral("c") && i[1].font == QStringLiteral("ＭＳ 明朝") && i[1].textSize == 24 &&
                i[1].colour == 255 && i[1].x == 470 && i[1].y == 600);
    EXPECT_EQ(s.texts().size(), 1u);
}

TEST(DrawSurface, PaintsInLogicalUnitsScaledToTheAreaSkippingUnpaintableValues)
{
    EXPECT_EQ(BgrColour(0x00123456), QColor(0x56, 0x34, 0x12));
    const double inf = std::numeric_limits<double>::infinity(), nan = std::numeric_limits<double>::quiet_NaN();
    DrawSurface s;
    s.setLineColour(255);
    s.setFill(kFillSolid);
    s.drawCircle(500, 250, 20);  // the middle across, a quarter down
    s.drawCircle(1e300, 0, 5);
    s.drawLine(0, 0, inf, 1e300);
    s.drawArc(500, 500, 100, nan, 1);
    s.setTextSize(inf);
    s.drawText(QStringLiteral("x"));
    QImage img(400, 200, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    s.paintItems(p, img.size());  // neither crashes nor hangs
    p.end();
    EXPECT_EQ(QColor(img.pixel(200, 50)), QColor(255, 0, 0));
    EXPECT_EQ(QColor(img.pixel(200, 150)), QColor(Qt::white));
}

}  // namespace
}  // namespace tovanel

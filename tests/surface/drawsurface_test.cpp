// SPDX-License-Identifier: GPL-3.0-or-later
#include "surface/drawsurface.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <limits>

namespace tovanel {
namespace {

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

// SPDX-License-Identifier: GPL-3.0-or-later
#include "surface/drawsurface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
#include <cmath>
#include <numbers>

namespace tovanel {

namespace {

/// QPainter angles are in 1/16 degree.
constexpr double kSixteenthsPerRadian = 16.0 * 180.0 / std::numbers::pi;
/// Anything further out than this many pixels is off any screen; it is not painted, so that no
/// huge or non-finite value reaches the integer arithmetic of the raster engine.
constexpr double kPaintLimit = 1.0e6;

bool paintable(double v)
{
    return std::isfinite(v) && std::fabs(v) < kPaintLimit;
}

Qt::PenStyle penStyle(int style)
{
    switch (style) {
    case kLineDash: return Qt::DashLine;
    case kLineDot: return Qt::DotLine;
    case kLineDashDot: return Qt::DashDotLine;
    case kLineDashDotDot: return Qt::DashDotDotLine;
    default: return Qt::SolidLine;
    }
}

}  // namespace

QFont SurfaceFont(const QString& name, double size)
{
    QFont f(name);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(size))));
    // Advances as designed, not fitted to a pixel grid the text is later scaled off again.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QRectF SurfaceTextBox(const SurfaceItem& text)
{
    const QFontMetricsF m(SurfaceFont(text.font, text.textSize));
    return {text.x, text.y, m.horizontalAdvance(text.text), m.height()};
}

QColor BgrColour(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

DrawSurface::DrawSurface(QWidget* parent) : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void DrawSurface::clear()
{
    m_items.clear();
    update();
}

void DrawSurface::finish()
{
    update();
}

void DrawSurface::drawText(const QString& text)
{
    SurfaceItem it;
    it.kind = SurfaceItem::Text;
    it.x = m_x;
    it.y = m_y;
    it.text = text;
    it.font = m_font;
    it.textSize = m_textSize;
    it.textAttribute = m_textAttribute;
    it.colour = m_textColour;
    m_items.push_back(it);
}

SurfaceItem DrawSurface::lineItem(SurfaceItem::Kind kind) const
{
    SurfaceItem it;
    it.kind = kind;
    it.colour = m_lineColour;
    it.lineWidth = m_lineWidth;
    it.lineStyle = m_lineStyle;
    it.fill = m_fill;
    return it;
}

void DrawSurface::drawLine(double x1, double y1, double x2, double y2)
{
    SurfaceItem it = lineItem(SurfaceItem::Line);
    it.x = x1;
    it.y = y1;
    it.x2 = x2;
    it.y2 = y2;
    m_items.push_back(it);
}

void DrawSurface::drawCircle(double x, double y, double radius)
{
    SurfaceItem it = lineItem(SurfaceItem::Circle);
    it.x = x;
    it.y = y;
    it.radius = radius;
    m_items.push_back(it);
}

void DrawSurface::drawArc(double x, double y, double radius, double startAngle, double endAngle)
{
    SurfaceItem it = lineItem(SurfaceItem::Arc);
    it.x = x;
    it.y = y;
    it.radius = radius;
    it.startAngle = startAngle;
    it.endAngle = endAngle;
    m_items.push_back(it);
}

std::vector<SurfaceItem> DrawSurface::texts() const
{
    std::vector<SurfaceItem> out;
    for (const auto& it : m_items)
        if (it.kind == SurfaceItem::Text)
            out.push_back(it);
    return out;
}

void DrawSurface::paintItems(QPainter& painter, const QSizeF& size) const
{
    // x and y scale separately, so a circle on a surface that is not square becomes an ellipse
    // through the same logical points; texts keep their proportions and scale with the height.
    const double sx = size.width() / kSurfaceUnits;
    const double sy = size.height() / kSurfaceUnits;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    for (const auto& it : m_items) {
        const double px = it.x * sx, py = it.y * sy;
        if (!paintable(px) || !paintable(py))
            continue;
        if (it.kind == SurfaceItem::Text) {
            const double pixels = it.textSize * sy;
            if (!(pixels >= 1.0 && pixels < 2000.0) || !(it.textSize >= 1.0 && it.textSize < 2000.0))
                continue;
            // In surface units both ways: the text keeps to the columns the units lay out.
            const QFont f = SurfaceFont(it.font, it.textSize);
            painter.save();
            painter.translate(px, py);
            painter.scale(sx, sy);
            painter.setFont(f);
            painter.setPen(BgrColour(it.colour));
            painter.drawText(QPointF(0, QFontMetricsF(f).ascent()), it.text);
            painter.restore();
            continue;
        }
        QPen pen(BgrColour(it.colour));
        pen.setCosmetic(true);
        pen.setWidthF(it.lineWidth <= 1 ? 1.0 : std::min(it.lineWidth, 100));
        pen.setStyle(penStyle(it.lineStyle));
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (it.kind == SurfaceItem::Line) {
            const double px2 = it.x2 * sx, py2 = it.y2 * sy;
            if (paintable(px2) && paintable(py2))
                painter.drawLine(QPointF(px, py), QPointF(px2, py2));
            continue;
        }
        const double rx = it.radius * sx, ry = it.radius * sy;
        if (!paintable(rx) || !paintable(ry))
            continue;
        const QRectF box(px - rx, py - ry, 2 * rx, 2 * ry);
        if (it.kind == SurfaceItem::Circle) {
            if (it.fill == kFillSolid)
                painter.setBrush(BgrColour(it.colour));
            painter.drawEllipse(box);
        } else {
            const double a0 = it.startAngle * kSixteenthsPerRadian;
            double span = (it.endAngle - it.startAngle) * kSixteenthsPerRadian;
            if (!paintable(a0) || !paintable(span))
                continue;
            if (span < 0)
                span += 360 * 16;
            painter.drawArc(box, static_cast<int>(std::lround(a0)), static_cast<int>(std::lround(span)));
        }
    }
}

void DrawSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintItems(painter, QSizeF(size()));
}

}  // namespace tovanel

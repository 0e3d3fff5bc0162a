// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The drawing surface: a widget with its own logical coordinates, 1000 units across and 1000 down
// over the whole widget (origin top left, x to the right, y downwards), whatever its size in
// pixels. It keeps the current text position, font, text size and colours, records every text,
// line, circle and arc drawn as data, and paints those records. Tests read the records.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <vector>

namespace tovanel {

/// Logical units across and down the whole surface.
inline constexpr double kSurfaceUnits = 1000.0;

/// A 0x00BBGGRR colour value (0 black, 255 red, 65280 green) as a QColor.
QColor BgrColour(int bgr);

/// Line styles of the surface.
enum SurfaceLineStyle { kLineSolid = 0, kLineDash = 1, kLineDot = 2, kLineDashDot = 3, kLineDashDotDot = 4 };

/// Fill of closed shapes: solid (filled with the line colour) or transparent (outline only).
enum SurfaceFill { kFillSolid = 0, kFillTransparent = 1 };

/// One recorded drawing operation, with the surface state it was drawn in.
struct SurfaceItem {
    enum Kind { Text, Line, Circle, Arc };
    Kind kind = Text;
    double x = 0, y = 0;    ///< text position (top left of the text), line start, or centre
    double x2 = 0, y2 = 0;  ///< line end
    double radius = 0;      ///< circle or arc radius, in x units
    double startAngle = 0;  ///< arc start, radians, counter-clockwise from three o'clock
    double endAngle = 0;    ///< arc end, radians
    QString text;
    QString font;
    double textSize = 0;  ///< text height in y units
    int textAttribute = 0;
    int colour = 0;  ///< text colour for texts, line colour otherwise (0x00BBGGRR)
    int lineWidth = 0;
    int lineStyle = kLineSolid;
    int fill = kFillTransparent;
};

/// The font a text of the given name and size (in surface units: the height of the font's em)
/// is drawn with, in a coordinate system of surface units.
QFont SurfaceFont(const QString& name, double size);

/// Where a recorded text lies, in surface units: from its position, the advance of its
/// characters across and the font's height down. A text is drawn in the surface's own units in
/// both directions, so on a surface wider than it is tall its characters are wider, and its
/// columns stay where the units put them whatever the window's shape.
QRectF SurfaceTextBox(const SurfaceItem& text);

class DrawSurface : public QWidget {
    Q_OBJECT
public:
    explicit DrawSurface(QWidget* parent = nullptr);

    /// Forgets everything drawn; the settings (font, sizes, colours, position) are kept.
    void clear();
    /// Ends a drawing: the widget repaints from the records.
    void finish();

    void setTextSize(double size) { m_textSize = size; }
    void setFontName(const QString& name) { m_font = name; }
    void setTextAttribute(int attribute) { m_textAttribute = attribute; }
    void setTextColour(int bgr) { m_textColour = bgr; }
    void setCurrentX(double x) { m_x = x; }
    void setCurrentY(double y) { m_y = y; }
    double currentX() const { return m_x; }
    double currentY() const { return m_y; }

    void setLineColour(int bgr) { m_lineColour = bgr; }
    void setLineWidth(int width) { m_lineWidth = width; }
    void setLineStyle(int style) { m_lineStyle = style; }
    void setFill(int fill) { m_fill = fill; }

    /// Draws text with its top left at the current position; the position does not move.
    void drawText(const QString& text);
    void drawLine(double x1, double y1, double x2, double y2);
    /// A full circle at centre (x, y).
    void drawCircle(double x, double y, double radius);
    /// An arc of the circle at (x, y) from startAngle to endAngle (radians, counter-clockwise from
    /// three o'clock, as on a map with north up).
    void drawArc(double x, double y, double radius, double startAngle, double endAngle);

    const std::vector<SurfaceItem>& items() const { return m_items; }
    /// Texts only, in drawing order.
    std::vector<SurfaceItem> texts() const;

    /// Paints the records onto any paint device area of the given size in pixels.
    void paintItems(QPainter& painter, const QSizeF& size) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SurfaceItem lineItem(SurfaceItem::Kind kind) const;

    std::vector<SurfaceItem> m_items;
    double m_x = 0, m_y = 0;
    double m_textSize = 12;
    QString m_font;
    int m_textAttribute = 0;
    int m_textColour = 0;
    int m_lineColour = 0;
    int m_lineWidth = 0;
    int m_lineStyle = kLineSolid;
    int m_fill = kFillTransparent;
};

}  // namespace tovanel

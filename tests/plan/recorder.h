// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A paint device recording what is drawn where, in which colour, instead of pixels.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>
#include <vector>

namespace tovanel::test {

struct Drawn {
    enum Kind { Path, Polyline, Points, Text, Rects, Lines } kind;
    QColor pen;    ///< the pen's colour (no pen: invalid)
    QColor brush;  ///< the brush's colour (no brush: invalid)
    std::vector<QPointF> points;  ///< a path's elements, a polyline's corners, rectangles' centres …
    QString text;
    QFont font;  ///< a text's font
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    std::vector<Drawn> drawn;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& s) override
    {
        if (s.state() & DirtyPen) m_pen = s.pen();
        if (s.state() & DirtyBrush) m_brush = s.brush();
        if (s.state() & DirtyTransform) m_transform = s.transform();
        if (s.state() & DirtyFont) m_font = s.font();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath& path) override
    {
        Drawn d = start(Drawn::Path);
        for (int i = 0; i < path.elementCount(); ++i) d.points.push_back(m_transform.map(QPointF(path.elementAt(i))));
        drawn.push_back(d);
    }
    void drawPolygon(const QPointF* pts, int n, PolygonDrawMode) override { add(Drawn::Polyline, pts, n); }
    void drawPoints(const QPointF* pts, int n) override { add(Drawn::Points, pts, n); }
    void drawRects(const QRectF* rects, int n) override
    {
        std::vector<QPointF> centres;
        for (int i = 0; i < n; ++i) centres.push_back(rects[i].center());
        add(Drawn::Rects, centres.data(), n);
    }
    void drawLines(const QLineF* lines, int n) override
    {
        std::vector<QPointF> ends;
        for (int i = 0; i < n; ++i) ends.insert(ends.end(), {lines[i].p1(), lines[i].p2()});
        add(Drawn::Lines, ends.data(), 2 * n);
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override
    {
        Drawn d = start(Drawn::Text);
        d.points.push_back(m_transform.map(p));
        d.text = item.text();
        d.font = m_font;
        drawn.push_back(d);
    }

private:
    void add(Drawn::Kind kind, const QPointF* pts, int n)
    {
        Drawn d = start(kind);
        for (int i = 0; i < n; ++i) d.points.push_back(m_transform.map(pts[i]));
        drawn.push_back(d);
    }
    Drawn start(Drawn::Kind kind) const
    {
        Drawn d{kind, {}, {}, {}, {}, {}};
        if (m_pen.style() != Qt::NoPen) d.pen = m_pen.color();
        if (m_brush.style() != Qt::NoBrush) d.brush = m_brush.color();
        return d;
    }
    QPen m_pen;
    QBrush m_brush;
    QTransform m_transform;
    QFont m_font;
};

class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(QSize size) : m_size(size) {}
    QPaintEngine* paintEngine() const override { return &m_engine; }
    std::vector<Drawn>& drawn() { return m_engine.drawn; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return m_size.width();
        case PdmHeight: return m_size.height();
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
        case PdmDepth: return 32;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    QSize m_size;
    mutable RecordingEngine m_engine;
};

}  // namespace tovanel::test

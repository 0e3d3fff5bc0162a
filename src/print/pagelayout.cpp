// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/pagelayout.h"

#include "print/pdfstream.h"

#include "calc/atomicfile.h"
#include "calc/numeric.h"

#include <QImage>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace tovanel {

namespace {

// Nothing on a sheet lies further than a few paper widths off the paper; beyond this bound
// (about 17.6 m) an item is not painted, which also keeps the paint engines' own integer
// conversions in range.
constexpr double kPaintLimit = 1e6;

// Font sizes the renderer accepts, points.
constexpr double kMinFontPoints = 0.05;
constexpr double kMaxFontPoints = 2000;

bool Paintable(double v) { return std::isfinite(v) && std::fabs(v) <= kPaintLimit; }

constexpr double kTurn = 2 * PiVal;

}  // namespace

QFont TwipsFont(const QString& name, double points)
{
    QFont f(name);
    double p = std::isfinite(points) ? points : kMinFontPoints;
    p = std::clamp(p, kMinFontPoints, kMaxFontPoints);
    f.setPixelSize(std::max(1, qRound(p * kTwipsPerPoint)));
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QPageSize PageSizeForCode(int code)
{
    switch (code) {
    case kPaperA3: return QPageSize(QPageSize::A3);
    case kPaperA4: return QPageSize(QPageSize::A4);
    case kPaperB4: return QPageSize(QPageSize::JisB4);
    case kPaperB5: return QPageSize(QPageSize::JisB5);
    default: return QPageSize(QPageSize::A4);
    }
}

int PaperCodeFor(const QPageSize& size)
{
    switch (size.id()) {
    case QPageSize::A3: return kPaperA3;
    case QPageSize::A4: return kPaperA4;
    case QPageSize::JisB4: return kPaperB4;
    case QPageSize::JisB5: return kPaperB5;
    default: return kPaperOther;
    }
}

PageLayout::PageLayout() = default;

void PageLayout::startDoc()
{
    m_pages.assign(1, Page{});
    m_ended = false;
    m_shown = 1;
    m_curX = m_curY = 0;
}

void PageLayout::endDoc()
{
    m_ended = true;
    m_shown = 1;
}

void PageLayout::clearDoc()
{
    m_pages.clear();
    m_ended = false;
    m_shown = 1;
}

void PageLayout::setPages(std::vector<Page> pages)
{
    m_pages = std::move(pages);
    m_ended = true;
    m_shown = 1;
}

void PageLayout::newPage()
{
    m_pages.emplace_back();
    m_curX = m_curY = 0;
}

const Page* PageLayout::page(int p) const
{
    if (p < 1 || p > pageCount()) return nullptr;
    return &m_pages[static_cast<size_t>(p - 1)];
}

Page& PageLayout::current()
{
    // Drawing before startDoc() goes onto a first page rather than nowhere.
    if (m_pages.empty()) m_pages.emplace_back();
    return m_pages.back();
}

PageItem PageLayout::stamp(PageItemKind kind) const
{
    PageItem it;
    it.kind = kind;
    it.font = m_fontName;
    it.fontSize = m_fontSize;
    it.penWidth = m_penWidth;
    it.drawStyle = m_drawStyle;
    return it;
}

void PageLayout::setFontName(const QString& name)
{
    if (name == m_fontName) return;
    m_fontName = name;
    m_metrics.reset();
}

void PageLayout::setFontSize(double points)
{
    if (points == m_fontSize) return;
    m_fontSize = points;
    m_metrics.reset();
}

void PageLayout::text(const QString& t)
{
    PageItem it = stamp(PageItemKind::Text);
    it.x = m_curX;
    it.y = m_curY;
    it.text = t;
    current().push_back(std::move(it));
}

double PageLayout::textWidth(const QString& t) const
{
    // A pixel-sized font is measured in its own pixels, which on our scale are twips: the width
    // does not depend on the screen's resolution.
    if (!m_metrics) m_metrics.emplace(TwipsFont(m_fontName, m_fontSize));
    return m_metrics->horizontalAdvance(t);
}

void PageLayout::line(double x1, double y1, double x2, double y2)
{
    PageItem it = stamp(PageItemKind::Line);
    it.x = x1;
    it.y = y1;
    it.x2 = x2;
    it.y2 = y2;
    current().push_back(std::move(it));
}

void PageLayout::circle(double x, double y, double r)
{
    PageItem it = stamp(PageItemKind::Circle);
    it.x = x;
    it.y = y;
    it.radius = r;
    current().push_back(std::move(it));
}

void PageLayout::arc(double x, double y, double r, double start, double end)
{
    PageItem it = stamp(PageItemKind::Arc);
    it.x = x;
    it.y = y;
    it.radius = r;
    it.start = start;
    it.end = end;
    current().push_back(std::move(it));
}

void PageLayout::setPreviewPage(int p)
{
    m_shown = std::clamp(p, 1, std::max(1, pageCount()));
}

QSizeF PageLayout::pageSizeTwips() const
{
    const QSizeF mm = m_pageSize.size(QPageSize::Millimeter);
    QSizeF tw(mm.width() * kTwipsPerInch / kMmPerInch, mm.height() * kTwipsPerInch / kMmPerInch);
    if (m_orientation == kLandscape && tw.width() < tw.height()) tw.transpose();
    return tw;
}

void PageLayout::renderPage(QPainter& painter, int p) const
{
    const Page* pg = page(p);
    if (!pg) return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const PageItem& it : *pg) {
        if (!std::isfinite(it.x) || !std::isfinite(it.y)) continue;
        // An arc's centre may lie far off the paper while the arc crosses it; see below.
        if (it.kind != PageItemKind::Arc && (!Paintable(it.x) || !Paintable(it.y))) continue;
        // A pen width of 0 would be Qt's one-device-pixel line: keep it at least one twip wide.
        QPen pen(Qt::black, std::max(1, it.penWidth), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        switch (it.kind) {
        case PageItemKind::Text: {
            const QFont f = TwipsFont(it.font, it.fontSize);
            painter.setFont(f);
            painter.setPen(Qt::black);
            const QFontMetricsF fm(f);
            painter.drawText(QPointF(it.x, it.y + fm.ascent()), it.text);
            break;
        }
        case PageItemKind::Line:
            if (!Paintable(it.x2) || !Paintable(it.y2)) break;
            painter.setPen(pen);
            painter.drawLine(QPointF(it.x, it.y), QPointF(it.x2, it.y2));
            break;
        case PageItemKind::Circle: {
            const double r = std::fabs(it.radius);
            if (!Paintable(r)) break;
            painter.setPen(pen);
            painter.setBrush(it.drawStyle == DrawStyle::Filled ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
            painter.drawEllipse(QPointF(it.x, it.y), r, r);
            break;
        }
        case PageItemKind::Arc: {
            const double r = std::fabs(it.radius);
            if (!std::isfinite(r) || r == 0 || !std::isfinite(it.start) || !std::isfinite(it.end))
                break;
            // Counter-clockwise from start to end, whatever whole turns either angle carries.
            double a0 = std::fmod(it.start, kTurn);
            if (a0 < 0) a0 += kTurn;
            double span = std::fmod(it.end - it.start, kTurn);
            if (span < 0) span += kTurn;
            if (span == 0) break;
            QPainterPath path;
            if (Paintable(r) && Paintable(it.x) && Paintable(it.y)) {
                const QRectF box(it.x - r, it.y - r, 2 * r, 2 * r);
                path.arcMoveTo(box, a0 * RadToDeg);
                path.arcTo(box, a0 * RadToDeg, span * RadToDeg);
            } else {
                // A nearly straight arc of a huge circle (a tiny IA): its centre lies far off the
                // paper but the arc itself may cross it, so draw the paintable part of a polyline.
                constexpr int kSteps = 512;
                bool open = false;
                for (int k = 0; k <= kSteps; ++k) {
                    const double a = a0 + span * k / kSteps;
                    const double px = it.x + r * std::cos(a), py = it.y - r * std::sin(a);
                    if (!Paintable(px) || !Paintable(py)) {
                        open = false;
                        continue;
                    }
                    if (open)
                        path.lineTo(px, py);
                    else
                        path.moveTo(px, py);
                    open = true;
                }
            }
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawPath(path);
            break;
        }
        }
    }
    painter.restore();
}

bool PageLayout::printPages(QPagedPaintDevice& device, int from, int to) const
{
    from = std::max(from, 1);
    to = std::min(to, pageCount());
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const double kx = device.logicalDpiX() / kTwipsPerInch;
    const double ky = device.logicalDpiY() / kTwipsPerInch;
    for (int p = from; p <= to; ++p) {
        if (p > from) device.newPage();
        painter.resetTransform();
        painter.scale(kx, ky);
        renderPage(painter, p);
    }
    return painter.end();
}

QPageLayout PageLayout::pageLayout() const
{
    return QPageLayout(m_pageSize, m_orientation == kLandscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0));
}

void PageLayout::setPageLayout(const QPageLayout& layout)
{
    setPageSize(layout.pageSize());
    setOrientation(layout.orientation() == QPageLayout::Landscape ? kLandscape : kPortrait);
}

QString PageLayout::writePdf(const QString& path) const
{
    if (pageCount() == 0) return QStringLiteral("出力する頁がありません。");
    const auto failed = [&](const QString& reason) {
        return QStringLiteral("PDF ファイル %1 を保存できません: %2").arg(path, reason);
    };
    // Through the atomic writer: a full disk or a cancelled run leaves the previous file as it was.
    AtomicFile file(path);
    if (!file.open()) return failed(file.reason());
    bool painted = false;
    {
        PdfStream pdf(file, *this, m_docName);
        painted = pdf.add(*this) && pdf.finish();
    }  // the writer has finished the file here
    if (!painted) return failed(file.reason().isEmpty() ? QStringLiteral("描画できません") : file.reason());
    if (const QString reason = file.commit(); !reason.isEmpty()) return failed(reason);
    return {};
}

QImage PageLayout::renderImage(int p, double dpi) const
{
    if (!std::isfinite(dpi) || dpi <= 0) dpi = 96;
    dpi = std::min(dpi, 1200.0);
    const QSizeF tw = pageSizeTwips();
    const double k = dpi / kTwipsPerInch;
    QImage img(std::max(1, qRound(tw.width() * k)), std::max(1, qRound(tw.height() * k)),
               QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter painter(&img);
    painter.scale(k, k);
    renderPage(painter, p);
    painter.end();
    return img;
}

}  // namespace tovanel

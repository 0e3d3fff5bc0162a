// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The page-layout component: a document of pages recorded as data in twips, and one routine that
// paints any page onto any device (the preview widget, a printer, a PDF writer, an image).
//
// Units: every position, length and pen width is in twips (1/1440 inch), measured from the top
// left corner of the paper, x to the right, y downwards. Pages are numbered from 1. Arc angles are
// radians, counter-clockwise from the rightward direction, and may carry any multiple of a turn.
//
// Recording never converts a coordinate to an integer: a value that is huge, infinite or NaN is
// kept as it came and simply not painted.

#include <QPageLayout>
#include <QPageSize>
#include <QSizeF>
#include <QString>
#include <QFont>
#include <QFontMetricsF>
#include <optional>
#include <vector>

class QImage;
class QPainter;
class QPagedPaintDevice;

namespace tovanel {

inline constexpr double kTwipsPerInch = 1440;
inline constexpr double kTwipsPerPoint = 20;
inline constexpr double kMmPerInch = 25.4;

/// Paper size codes as the printer settings report them.
inline constexpr int kPaperA3 = 8;
inline constexpr int kPaperA4 = 9;
inline constexpr int kPaperB4 = 12;  ///< JIS B4
inline constexpr int kPaperB5 = 13;  ///< JIS B5
inline constexpr int kPaperOther = 256;

/// Orientation values of the component.
inline constexpr int kPortrait = 0;
inline constexpr int kLandscape = 1;

enum class PageItemKind { Text, Line, Circle, Arc };

/// How circles and arcs are drawn.
enum class DrawStyle { Filled = 0, Outline = 1 };

/// One recorded drawing operation with the state it was drawn in.
struct PageItem {
    PageItemKind kind = PageItemKind::Text;
    double x = 0, y = 0;    ///< text: top left of the text; line: first end; circle, arc: centre
    double x2 = 0, y2 = 0;  ///< line: second end
    double radius = 0;      ///< circle, arc
    double start = 0, end = 0;  ///< arc: radians, counter-clockwise from the right
    QString text;           ///< text
    QString font;           ///< font name in force
    double fontSize = 0;    ///< points
    int penWidth = 0;       ///< twips
    DrawStyle drawStyle = DrawStyle::Filled;
};

using Page = std::vector<PageItem>;

/// QPageSize for a paper code; A4 for a code the component does not know.
QPageSize PageSizeForCode(int code);
/// Paper code of a page size: 8, 9, 12, 13, or kPaperOther.
int PaperCodeFor(const QPageSize& size);

class PageLayout {
public:
    PageLayout();

    // --- document
    /// Begins a new document with one empty page; earlier pages are discarded.
    void startDoc();
    /// Ends the document: the pages become viewable and printable, page 1 is shown.
    void endDoc();
    /// Discards the document: no pages, as before the first startDoc().
    void clearDoc();
    /// Starts a new page; further drawing goes onto it.
    void newPage();
    /// Pages composed so far (0 before any document).
    int pageCount() const { return static_cast<int>(m_pages.size()); }
    bool documentEnded() const { return m_ended; }
    /// Page p (1-based); nullptr when there is no such page.
    const Page* page(int p) const;
    const std::vector<Page>& pages() const { return m_pages; }
    /// Replaces the pages by these, as one ended document: documents composed one after another
    /// (the corners of a table) shown and printed as one.
    void setPages(std::vector<Page> pages);

    // --- text
    void setCurrentX(double twips) { m_curX = twips; }
    void setCurrentY(double twips) { m_curY = twips; }
    double currentX() const { return m_curX; }
    double currentY() const { return m_curY; }
    void setFontName(const QString& name);
    QString fontName() const { return m_fontName; }
    /// Font size in points.
    void setFontSize(double points);
    double fontSize() const { return m_fontSize; }
    /// Writes the text with its top left at the current position, in the current font.
    void text(const QString& t);
    /// Width of the text in twips at the current font, measured at 1440 dpi with the real font.
    double textWidth(const QString& t) const;

    // --- drawing
    void setPenWidth(int twips) { m_penWidth = twips; }
    int penWidth() const { return m_penWidth; }
    /// 1 while an arc is drawn (outlines only), 0 otherwise (circles filled: the stake dots).
    void setDrawStyle(DrawStyle style) { m_drawStyle = style; }
    DrawStyle drawStyle() const { return m_drawStyle; }
    void line(double x1, double y1, double x2, double y2);
    void circle(double x, double y, double r);
    /// Arc counter-clockwise from start to end (radians, 0 pointing right).
    void arc(double x, double y, double r, double start, double end);

    // --- view and set-up
    int previewPage() const { return m_shown; }
    /// Shows page p, kept within 1..pageCount().
    void setPreviewPage(int p);
    int zoom() const { return m_zoom; }
    void setZoom(int percent) { m_zoom = percent; }
    int orientation() const { return m_orientation; }
    void setOrientation(int o) { m_orientation = o == kPortrait ? kPortrait : kLandscape; }
    int paperSize() const { return PaperCodeFor(m_pageSize); }
    void setPaperSize(int code) { m_pageSize = PageSizeForCode(code); }
    QPageSize pageSize() const { return m_pageSize; }
    void setPageSize(const QPageSize& size) { m_pageSize = size; }
    /// The paper and orientation as a printer or PDF writer takes them: no margins, the pages
    /// carry their own.
    QPageLayout pageLayout() const;
    /// Takes the paper and orientation of a printer's page layout.
    void setPageLayout(const QPageLayout& layout);
    QString printerName() const { return m_printerName; }
    void setPrinterName(const QString& name) { m_printerName = name; }
    QString docName() const { return m_docName; }
    void setDocName(const QString& name) { m_docName = name; }

    /// Paper size in twips in the current orientation.
    QSizeF pageSizeTwips() const;

    // --- rendering
    /// Paints page p onto a painter whose coordinate system is in twips with the origin at the
    /// paper's top left corner. Items that would land absurdly far off the paper are skipped.
    void renderPage(QPainter& painter, int p) const;
    /// Paints pages from..to onto a printer or PDF writer set up for this paper (full page, no
    /// margins). False when the painter cannot begin on the device.
    bool printPages(QPagedPaintDevice& device, int from, int to) const;
    /// Writes every page to a PDF file. Returns an error text, empty on success.
    QString writePdf(const QString& path) const;
    /// Page p as a white image at the given resolution.
    QImage renderImage(int p, double dpi) const;

private:
    Page& current();
    PageItem stamp(PageItemKind kind) const;

    std::vector<Page> m_pages;
    bool m_ended = false;
    double m_curX = 0, m_curY = 0;
    QString m_fontName;
    double m_fontSize = 10;
    int m_penWidth = 1;
    DrawStyle m_drawStyle = DrawStyle::Filled;
    int m_shown = 1;
    int m_zoom = 100;
    int m_orientation = kPortrait;
    QPageSize m_pageSize{QPageSize::A4};
    QString m_printerName;
    QString m_docName;
    mutable std::optional<QFontMetricsF> m_metrics;  ///< of the current font at 1440 dpi
};

/// The font used for a text of the given name and size on a painter scaled to twips (and for
/// measuring at 1440 dpi): pixel size = points × 20.
QFont TwipsFont(const QString& name, double points);

}  // namespace tovanel

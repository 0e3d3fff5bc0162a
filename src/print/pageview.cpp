// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/pageview.h"

#include "calc/twips.h"
#include "print/pagelayout.h"

#include <QPainter>
#include <QPaintEvent>
#include <algorithm>
#include <cmath>

namespace tovanel {

namespace {

/// Zooms the view paints at, percent; the component may hold anything.
constexpr int kMinViewZoom = 5;
constexpr int kMaxViewZoom = 800;
/// Blank desk around the paper, pixels.
constexpr int kDeskMargin = 8;

double ViewScale(const PageLayout& pl)
{
    return std::clamp(pl.zoom(), kMinViewZoom, kMaxViewZoom) / 100.0 / kTwipsPerPixel;
}

class PaperWidget : public QWidget {
public:
    PaperWidget(const PageLayout& pl, QWidget* parent) : QWidget(parent), m_pl(pl)
    {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QPainter painter(this);
        painter.fillRect(event->rect(), Qt::white);
        painter.setPen(Qt::black);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        if (m_pl.pageCount() == 0) return;
        const double k = ViewScale(m_pl);
        painter.scale(k, k);
        m_pl.renderPage(painter, m_pl.previewPage());
    }

private:
    const PageLayout& m_pl;
};

}  // namespace

PageView::PageView(const PageLayout& pl, QWidget* parent) : QScrollArea(parent), m_pl(pl)
{
    setObjectName(QStringLiteral("PageLayout1"));
    setBackgroundRole(QPalette::Dark);
    setAlignment(Qt::AlignCenter);
    setWidgetResizable(false);
    auto* desk = new QWidget;
    desk->setBackgroundRole(QPalette::Dark);
    m_paper = new PaperWidget(pl, desk);
    setWidget(desk);
    refresh();
}

QSize PageView::paperPixels() const
{
    const QSizeF tw = m_pl.pageSizeTwips();
    const double k = ViewScale(m_pl);
    return QSize(std::max(1, static_cast<int>(std::lround(tw.width() * k))),
                 std::max(1, static_cast<int>(std::lround(tw.height() * k))));
}

void PageView::refresh()
{
    const QSize paper = paperPixels();
    m_paper->setGeometry(kDeskMargin, kDeskMargin, paper.width(), paper.height());
    widget()->resize(paper.width() + 2 * kDeskMargin, paper.height() + 2 * kDeskMargin);
    m_paper->update();
}

}  // namespace tovanel

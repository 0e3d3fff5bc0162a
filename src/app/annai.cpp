// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/annai.h"

#include "calc/calcstate.h"
#include "calc/listing.h"
#include "help/guide.h"
#include "calc/twips.h"
#include "surface/drawsurface.h"

#include <QVBoxLayout>
#include <cmath>

namespace tovanel {

void DrawListing(const Listing& listing, DrawSurface& surface)
{
    surface.clear();
    surface.setTextSize(listing.textSize);
    surface.setFontName(listing.font);
    surface.setTextAttribute(0);
    surface.setTextColour(kBlack);
    for (const auto& t : listing.texts) {
        surface.setTextColour(t.colour);
        surface.setCurrentX(t.x);
        surface.setCurrentY(t.y);
        surface.drawText(t.text);
    }
    surface.finish();
}

QStringList DegenerateCorner(const CalcState& s)
{
    QStringList why;
    const auto& c = s.CurveIn;
    auto same = [&](int a, int b) { return c[a][kX] == c[b][kX] && c[a][kY] == c[b][kY]; };
    const bool bpIp = same(kBP, kIP), ipEp = same(kIP, kEP), bpEp = same(kBP, kEP);
    if (bpIp)
        why << QStringLiteral("BPとIPが同じ座標です。");
    if (ipEp)
        why << QStringLiteral("IPとEPが同じ座標です。");
    if (bpEp)
        why << QStringLiteral("BPとEPが同じ座標です。");
    const double radius = c[kIP][kRadius];
    if (radius == 0)
        why << QStringLiteral("半径が0です。");
    if (!bpIp && !ipEp) {
        // The tangents are parallel when the cross product vanishes against their lengths; IA
        // itself carries the azimuth guards and is only tested as a second opinion.
        const double ax = c[kIP][kX] - c[kBP][kX], ay = c[kIP][kY] - c[kBP][kY];
        const double bx = c[kEP][kX] - c[kIP][kX], by = c[kEP][kY] - c[kIP][kY];
        const double cross = ax * by - ay * bx;
        const double scale = std::hypot(ax, ay) * std::hypot(bx, by);
        constexpr double kAngleTolerance = 1e-9;  // degrees
        if (std::fabs(cross) <= 1e-12 * scale || s.IA < kAngleTolerance || s.IA > 180 - kAngleTolerance)
            why << QStringLiteral("交角IAが0°または180°です（3点が一直線上にあります）。");
    }
    if (radius != 0 && !(std::fabs(radius) - c[kIP][kWidthIn] > 0))
        why << QStringLiteral("内幅員が半径以上のため、内周の半径が正になりません。");
    return why;
}

ANNAI::ANNAI(CalcState& s, MessageFn message, QWidget* parent)
    : QWidget(parent, Qt::Window), m_s(s), m_message(message ? std::move(message) : MessageFn(ShowMessageBox))
{
    setObjectName(QStringLiteral("ANNAI"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(TwipsSize(9630, 8295));
    m_surface = new DrawSurface(this);
    m_surface->setObjectName(QStringLiteral("Surface1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_surface);
}

QString ANNAI::Form_Load()
{
    if (m_s.ShowMode == kShowGuide) {
        setWindowTitle(kGuideCaption);
        GuideDraw(m_s, *m_surface);
        return {};
    }
    Listing listing;
    if (QString why = S_CRT(m_s, listing); !why.isEmpty())
        return why;
    setWindowTitle(listing.caption);
    DrawListing(listing, *m_surface);
    if (const QStringList why = DegenerateCorner(m_s); !why.isEmpty())
        m_message(parentWidget() ? parentWidget() : this, QMessageBox::Warning, QStringLiteral("確認"),
                  QStringLiteral("入力を確認してください。このままでは曲線が正しく定まりません。\n\n") +
                      why.join(QLatin1Char('\n')));
    return {};
}

}  // namespace tovanel

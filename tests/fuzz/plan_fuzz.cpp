// SPDX-License-Identifier: GPL-3.0-or-later
// The plan from any corner: a one-line refusal, or the sheets' stakes, finite, inside the extent;
// painted fitted, close in and far out, for screen and file, without a fault.

#include "corner.h"
#include "fuzzcheck.h"

#include "plan/plan.h"
#include "sheets/stakepoints.h"

#include <QImage>
#include <QPainter>
#include <cmath>

using namespace tovanel;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::EnsureGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const fuzz::Corner c = fuzz::ReadCorner(fuzz::Bytes(data, size));
    const PlanCorner p = PlanCornerOf(c.in, c.st);
    FUZZ_CHECK(p.stakes.size() == p.stakeCurves.size()) << p.stakes.size() << " stakes, " << p.stakeCurves.size() << " curves";
    if (!p.refusal.isEmpty()) {
        FUZZ_CHECK(p.stakes.empty()) << p.refusal;
        FUZZ_CHECK(!p.refusal.contains(QLatin1Char('\n'))) << p.refusal;
    } else {
        const std::vector<ExportPoint> named = StakePoints({c.in, p.el}, c.st);
        FUZZ_CHECK(named.size() == p.stakes.size()) << named.size() << " named, " << p.stakes.size() << " drawn";
        FUZZ_CHECK(p.drawable);
        for (size_t i = 0; i < named.size(); ++i) {
            const ExportPoint& s = p.stakes[i];
            FUZZ_CHECK(s.name == named[i].name && s.x == named[i].x && s.y == named[i].y) << s.name << " / " << named[i].name;
            FUZZ_CHECK(std::isfinite(s.x) && std::isfinite(s.y)) << s.name << ' ' << s.x << ' ' << s.y;
            FUZZ_CHECK(p.bounds.contains(s.y, s.x)) << s.name << " outside the extent";
        }
    }

    QImage image(160, 120, QImage::Format_RGB32);
    const PlanViewport fitted = FitAll({p}, QSizeF(image.size()));
    for (const PlanViewport& v : {fitted, PlanViewport{QPointF(c.in.IpY, c.in.IpX), kMaxPixelsPerMetre, QSizeF(image.size())},
                                  PlanViewport{fitted.centre, kMinPixelsPerMetre, QSizeF(image.size())}})
        for (PlanDetail detail : {PlanDetail::Screen, PlanDetail::Whole}) {
            QPainter painter(&image);
            PaintPlan(painter, {p}, v, {0}, detail);
        }
    return 0;
}

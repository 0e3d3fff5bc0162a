// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/exportlist.h"

#include "calc/calcstate.h"
#include "calc/numeric.h"

#include <algorithm>

namespace tovanel {

void PointAdd(CalcState& s)
{
    ++s.ExpCount;
    const auto k = static_cast<size_t>(s.ExpCount);
    if (s.ExpNames.size() <= k) s.ExpNames.resize(k + 1);
    if (s.ExpCoords.size() <= k) s.ExpCoords.resize(k + 1);
    s.ExpNames[k] = s.ExpName;
    s.ExpCoords[k][1] = s.ExpX;
    s.ExpCoords[k][2] = s.ExpY;
}

void ClearExportList(CalcState& s)
{
    s.ExpCount = 0;
    s.ExpNames.assign(1, QString());
    s.ExpCoords.assign(1, {});
}

std::vector<ExportPoint> ExportPoints(const CalcState& s)
{
    std::vector<ExportPoint> out;
    const int n = std::min<int>(s.ExpCount, static_cast<int>(s.ExpNames.size()) - 1);
    QString previous;
    for (int k = 1; k <= n; ++k) {
        const QString& name = s.ExpNames[static_cast<size_t>(k)];
        if (name == previous) continue;
        const auto& xy = s.ExpCoords[static_cast<size_t>(k)];
        out.push_back({name, xy[1], xy[2]});
        previous = name;
    }
    return out;
}

ExportText BuildExportText(const CalcState& s)
{
    ExportText out;
    const QString leadIn = s.IniStr[5] == QLatin1String("1") ? QString() : QStringLiteral("\t");
    for (const ExportPoint& p : ExportPoints(s)) {
        ++out.count;
        out.text += leadIn + p.name + QLatin1Char('\t') + NumberText(p.x) + QLatin1Char('\t') +
                    NumberText(p.y) + QStringLiteral("\r\n");
    }
    return out;
}

QString ExportMessage(int count)
{
    return SignedNumberText(count) + QStringLiteral("点の座標値をクリップボードに貼り付けました。");
}

}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/exportlist.h"

#include "calc/numeric.h"
#include "calc/settings.h"

namespace tovanel {

std::vector<ExportPoint> ExportPoints(const ExportList& list)
{
    std::vector<ExportPoint> out;
    QString previous;
    for (const ExportPoint& p : list.all()) {
        // Whatever reached a name, a line keeps its three fields (four with the lead-in).
        const QString name = WithoutFieldBreaks(p.name);
        if (name == previous) continue;
        out.push_back({name, p.x, p.y});
        previous = name;
    }
    return out;
}

ExportText BuildExportText(const ExportList& list, const Settings& settings)
{
    ExportText out;
    const QString leadIn = settings.nameInFirstField() ? QString() : QStringLiteral("\t");
    for (const ExportPoint& p : ExportPoints(list)) {
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

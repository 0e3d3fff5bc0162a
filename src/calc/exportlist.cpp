// SPDX-License-Identifier: GPL-3.0-or-later
#include "calc/exportlist.h"

#include "calc/numeric.h"
#include "calc/settings.h"

namespace tovanel {

std::vector<size_t> ExportedEntries(const ExportList& list)
{
    std::vector<size_t> out;
    QString previous;
    for (size_t i = 0; i < list.all().size(); ++i) {
        QString name = WithoutFieldBreaks(list.all()[i].name);
        if (name == previous) continue;
        out.push_back(i);
        previous = std::move(name);
    }
    return out;
}

std::vector<ExportPoint> ExportPoints(const ExportList& list)
{
    std::vector<ExportPoint> out;
    for (size_t i : ExportedEntries(list)) {
        const ExportPoint& p = list.all()[i];
        // Whatever reached a name, a line keeps its three fields (four with the lead-in).
        out.push_back({WithoutFieldBreaks(p.name), p.x, p.y});
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

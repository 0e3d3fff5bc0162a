// SPDX-License-Identifier: GPL-3.0-or-later
#include "exchange/clipimport.h"


#include <QStringList>

namespace tovanel {

QStringList SplitFields(QString line)
{
    QStringList fields;
    for (int i = 0; i <= kClipFieldCount; ++i)
        fields.append(QString());
    for (int n = 1; n <= kClipFieldCount; ++n) {
        const qsizetype p = line.indexOf(QLatin1Char('\t'));
        if (p < 0) {
            fields[n] = line;
            return fields;
        }
        fields[n] = line.left(p);
        line = line.mid(p + 1);
        if (!line.contains(QLatin1Char('\t'))) {
            if (n + 1 <= kClipFieldCount)
                fields[n + 1] = line;
            return fields;
        }
    }
    return fields;
}

QString ImportPoints(bool nameInFirstField, const QString& text, std::array<ImportedPoint, 3>& out)
{
    const int nameField = nameInFirstField ? 1 : 2;

    // Only the lines that are used are cut out of the text, however long it is.
    QStringList lines;
    qsizetype from = 0;
    while (lines.size() < kClipPointLines && from < text.size()) {
        const qsizetype lf = text.indexOf(QLatin1Char('\n'), from);
        if (lf < 0) {
            lines.append(text.mid(from));  // a last line without a line end
            break;
        }
        qsizetype end = lf;
        if (end > from && text.at(end - 1) == QLatin1Char('\r'))
            --end;
        lines.append(text.mid(from, end - from));
        from = lf + 1;
    }
    if (lines.size() < kClipPointLines)
        return kTooFewLines;

    for (int n = 0; n < kClipPointLines; ++n) {
        const QStringList fields = SplitFields(lines[n]);
        auto& p = out[static_cast<size_t>(n)];
        p.name = fields[nameField];
        p.x = fields[nameField + 1];
        p.y = fields[nameField + 2];
    }
    return {};
}

}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/clipimport.h"

#include "calc/calcstate.h"

#include <QStringList>

namespace tovanel {

void SplitFields(CalcState& s)
{
    s.ClipFields = QStringList();
    for (int i = 0; i <= kClipFieldCount; ++i)
        s.ClipFields.append(QString());
    for (int n = 1; n <= kClipFieldCount; ++n) {
        const qsizetype p = s.ClipText.indexOf(QLatin1Char('\t'));
        if (p < 0) {
            s.ClipFields[n] = s.ClipText;
            s.ClipText.clear();
            return;
        }
        s.ClipFields[n] = s.ClipText.left(p);
        s.ClipText = s.ClipText.mid(p + 1);
        if (!s.ClipText.contains(QLatin1Char('\t'))) {
            if (n + 1 <= kClipFieldCount)
                s.ClipFields[n + 1] = s.ClipText;
            s.ClipText.clear();
            return;
        }
    }
}

QString ImportPoints(CalcState& s, const QString& text, std::array<ImportedPoint, 3>& out)
{
    const int nameField = s.IniStr[5] == QLatin1String("1") ? 1 : 2;

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
        s.ClipText = lines[n];
        SplitFields(s);
        auto& p = out[static_cast<size_t>(n)];
        p.name = s.ClipFields[nameField];
        p.x = s.ClipFields[nameField + 1];
        p.y = s.ClipFields[nameField + 2];
    }
    return {};
}

}  // namespace tovanel

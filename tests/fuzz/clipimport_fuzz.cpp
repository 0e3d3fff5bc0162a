// SPDX-License-Identifier: GPL-3.0-or-later
// The clipboard import from any text (first byte '1': name in field 1, else field 2) against a
// restatement: LF or CR LF lines, TAB fields, name then X and Y; fewer than three lines change nothing.

#include "fuzzcheck.h"

#include "exchange/clipimport.h"

#include <QStringList>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace tovanel;
    if (size == 0) return 0;
    const bool nameInFirstField = data[0] == '1';
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data) + 1, static_cast<qsizetype>(size - 1));

    QStringList lines = text.split(QLatin1Char('\n'));
    if (lines.last().isEmpty()) lines.removeLast();  // the line end of the last line
    for (qsizetype k = 0; k < lines.size(); ++k) {
        const bool endedByLf = k + 1 < lines.size() || text.endsWith(QLatin1Char('\n'));
        if (endedByLf && lines[k].endsWith(QLatin1Char('\r'))) lines[k].chop(1);
    }
    const int nameField = nameInFirstField ? 1 : 2;

    const ImportedPoint untouched{QStringLiteral("name"), QStringLiteral("x"), QStringLiteral("y")};
    std::array<ImportedPoint, 3> points{untouched, untouched, untouched};
    const QString why = ImportPoints(nameInFirstField, text, points);
    FUZZ_CHECK(why.isEmpty() == (lines.size() >= 3)) << lines.size() << " lines: " << why;
    for (int n = 0; n < 3; ++n) {
        const ImportedPoint& p = points[static_cast<size_t>(n)];
        if (!why.isEmpty()) {
            FUZZ_CHECK(p.name == untouched.name && p.x == untouched.x && p.y == untouched.y) << "line " << n;
            continue;
        }
        const QStringList fields = lines[n].split(QLatin1Char('\t'));
        FUZZ_CHECK(p.name == fields.value(nameField - 1)) << "line " << n << " name " << p.name;
        FUZZ_CHECK(p.x == fields.value(nameField)) << "line " << n << " X " << p.x;
        FUZZ_CHECK(p.y == fields.value(nameField + 1)) << "line " << n << " Y " << p.y;
    }
    FUZZ_CHECK(SplitFields(text).size() == kClipFieldCount + 1) << SplitFields(text).size() << " fields";
    return 0;
}

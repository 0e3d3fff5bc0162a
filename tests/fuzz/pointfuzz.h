// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The point readers on any bytes: a refusal with its line, or points in file order whose finite
// coordinates are their texts' values by both number rules; written back as SIMA and CSV, they read
// back to the same names and the printed coordinates (an unwritable name is refused, not changed).

#include "fuzzcheck.h"

#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "exchange/pointfile.h"
#include "exchange/pointwriter.h"

#include <cmath>
#include <cstring>

namespace tovanel::fuzz {

/// Lines of the text as the readers count them: CR LF, LF and a lone CR each end one.
inline int LineCount(const QString& text)
{
    int lines = 0;
    for (qsizetype i = 0; i < text.size(); ++lines) {
        while (i < text.size() && text[i] != u'\n' && text[i] != u'\r') ++i;
        if (i < text.size() && text[i++] == u'\r' && i < text.size() && text[i] == u'\n') ++i;
    }
    return lines;
}

/// The name as a CP932 file gives it back (〜 and ～ share one code).
inline QString ThroughCp932(const QString& name)
{
    QByteArray bytes;
    QString back;
    FUZZ_CHECK(EncodeCp932(name, bytes) && DecodeCp932(bytes, back)) << name;
    return back;
}

inline void CheckWrittenFile(const std::vector<FilePoint>& read, PointFileKind kind)
{
    std::vector<ExportPoint> points;
    bool writable = true;
    for (const FilePoint& p : read) {
        points.push_back({p.name, p.x, p.y});
        writable = writable && PointNameProblem(p.name, kind).isEmpty();
    }
    QByteArray out;
    const QString why = kind == PointFileKind::Sima ? SimaFile(points, QStringLiteral("現場"), out) : CsvFile(points, out);
    FUZZ_CHECK(why.isEmpty() == writable) << "written: " << why;
    if (!writable) return;
    const PointFileRead back = ReadPointFile(out);
    FUZZ_CHECK(back.ok() && back.format == (kind == PointFileKind::Sima ? PointFormat::Sima : PointFormat::Csv))
        << back.error;
    FUZZ_CHECK(back.points.size() == points.size()) << back.points.size() << " points of " << points.size();
    for (size_t k = 0; k < points.size(); ++k) {
        const FilePoint& b = back.points[k];
        // SIMA fields may be padded, so blanks around a name are not kept there.
        const QString name = ThroughCp932(points[k].name);
        FUZZ_CHECK(b.name == (kind == PointFileKind::Sima ? name.trimmed() : name)) << "point " << k << ": " << points[k].name << " became " << b.name;
        const double x = StrictNumber(FixedText(points[k].x, 3)).value_or(std::nan(""));
        const double y = StrictNumber(FixedText(points[k].y, 3)).value_or(std::nan(""));
        FUZZ_CHECK(SameBits(b.x, x)) << "point " << k << ": " << b.xText;
        FUZZ_CHECK(SameBits(b.y, y)) << "point " << k << ": " << b.yText;
    }
}

/// One input through the reader of `format` (Sima or Csv).
inline int FuzzPointReader(const uint8_t* data, size_t size, PointFormat format)
{
    const QByteArray bytes = Bytes(data, size);
    QString text, error;
    int line = 0;
    if (!DecodeText(bytes, text, error, line)) {
        FUZZ_CHECK(!error.isEmpty() && line >= 1 && line <= bytes.count('\n') + bytes.count('\r') + 1) << line;
        return 0;
    }
    const PointFileRead r = format == PointFormat::Sima ? ReadSima(text) : ReadCsv(text);
    const int lines = LineCount(text);
    if (!r.ok()) {
        FUZZ_CHECK(r.line >= 0 && r.line <= lines) << "error line " << r.line << " of " << lines;
        FUZZ_CHECK(PointFileMessage(QStringLiteral("p.txt"), r).contains(r.error)) << r.error;
    } else {
        FUZZ_CHECK(r.format == format && !r.points.empty());
        int previous = 0;
        for (const FilePoint& p : r.points) {
            FUZZ_CHECK(p.line > previous && p.line <= lines) << "line " << p.line << " after " << previous;
            previous = p.line;
            for (const auto& [value, plain] : {std::pair(p.x, p.xText), std::pair(p.y, p.yText)}) {
                FUZZ_CHECK(std::isfinite(value)) << plain;
                FUZZ_CHECK(SameBits(StrictNumber(plain).value_or(std::nan("")), value)) << plain;
                FUZZ_CHECK(SameBits(LeadingNumber(plain), value)) << plain;
            }
            FUZZ_CHECK(!p.name.contains(u'\n') && !p.name.contains(u'\r')) << p.name;
            // A SIMA field has no quoting: no comma in it, no blanks kept around it.
            FUZZ_CHECK(format != PointFormat::Sima || (!p.name.contains(u',') && p.name == p.name.trimmed())) << p.name;
        }
        CheckWrittenFile(r.points, PointFileKind::Sima);
        CheckWrittenFile(r.points, PointFileKind::Csv);
    }
    // The whole-file reader gives the same when it takes the file for this format.
    const PointFileRead whole = ReadPointFile(bytes);
    if (whole.format == format) {
        FUZZ_CHECK(whole.error == r.error && whole.line == r.line && whole.points.size() == r.points.size()) << whole.error;
    }
    return 0;
}

}  // namespace tovanel::fuzz

// SPDX-License-Identifier: GPL-3.0-or-later
// The corner table from any bytes as the batch run reads it, against a plain restatement of the
// form: line ends, a final 0x1A, the encoding (BOM, else UTF-8 with a 3-byte character or not CP932),
// the separator, header, blank and bad lines, finite numbers, unique IP numbers, the count announced.

#include "fuzzcheck.h"

#include "batch/cornertable.h"
#include "calc/settingsfile.h"

#include <QFile>
#include <QSet>
#include <QStringDecoder>
#include <cmath>
#include <vector>

namespace {

using namespace tovanel;

/// The lines of `bytes` in code units of `unit` bytes (big-endian when `big`).
std::vector<QByteArray> SplitLines(const QByteArray& bytes, int unit, bool big)
{
    auto at = [&](qsizetype i) {
        const auto* b = reinterpret_cast<const unsigned char*>(bytes.constData());
        return unit == 1 ? b[i] : big ? b[i] << 8 | b[i + 1] : b[i + 1] << 8 | b[i];
    };
    std::vector<QByteArray> lines;
    qsizetype i = 0;
    const qsizetype n = bytes.size();
    while (i < n) {
        qsizetype end = i;
        while (end + unit <= n && at(end) != '\n' && at(end) != '\r') end += unit;
        if (end + unit > n) end = n;
        lines.push_back(bytes.sliced(i, end - i));
        if (end == n) break;
        const bool cr = at(end) == '\r';
        i = end + unit;
        if (cr && i + unit <= n && at(i) == '\n') i += unit;
    }
    if (!lines.empty() && lines.back().size() >= unit && lines.back().size() % unit == 0 && at(n - unit) == 0x1A) {
        lines.back().chop(unit);
        if (lines.back().isEmpty()) lines.pop_back();
    }
    return lines;
}

TextEncoding EncodingOf(const QByteArray& bytes)
{
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(bytes);
    const bool utf8 = !decode.hasError();
    auto from = [&](unsigned lowest) {
        return std::any_of(bytes.begin(), bytes.end(), [&](char c) { return static_cast<unsigned char>(c) >= lowest; });
    };
    QString unused;
    return utf8 && (from(0xE0) || !from(0x80) || !DecodeCp932(bytes, unused)) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes = fuzz::Bytes(data, size);
    const QString path = fuzz::ScratchFolder() + QStringLiteral("/table.csv");
    if (QFile f(path); !f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) return 0;

    TableForm form;
    qsizetype bom = 0;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bom = 3;
    } else if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        form.encoding = bytes[0] == '\xFF' ? TextEncoding::Utf16Le : TextEncoding::Utf16Be;
        bom = 2;
    } else {
        form.encoding = EncodingOf(bytes);
    }
    bytes.remove(0, bom);
    const bool utf16 = form.encoding == TextEncoding::Utf16Le || form.encoding == TextEncoding::Utf16Be;
    std::vector<TableLine> expected;
    bool first = true;
    int number = 0;
    QHash<QString, int> ipNumbers;
    for (const QByteArray& line : SplitLines(bytes, utf16 ? 2 : 1, form.encoding == TextEncoding::Utf16Be)) {
        ++number;
        if (line.size() + (number == 1 ? bom : 0) > kMaxTableLineBytes) {
            first = false;
            TableLine longLine{TableLineKind::Bad, {}, QStringLiteral("行が長すぎます"), {}};
            longLine.corner.line = number;
            expected.push_back(longLine);
            continue;
        }
        TableForm lineForm = form;
        if (first) lineForm.separator = TableSeparator(line, form.encoding);
        TableLine read = ReadTableLine(line, lineForm, number, first);
        if (read.kind == TableLineKind::Blank) continue;
        if (first) form = lineForm;
        first = false;
        if (read.kind == TableLineKind::Header) continue;
        if (const QString& ip = read.corner.ipNumber; !ip.isEmpty()) {
            if (!ipNumbers.contains(ip)) {
                ipNumbers.insert(ip, read.corner.line);
            } else if (read.kind == TableLineKind::Corner) {
                read.kind = TableLineKind::Bad;
                read.error = QStringLiteral("%1 行目").arg(ipNumbers.value(ip));
            }
        }
        expected.push_back(read);
    }

    CornerTable table;
    const QString why = table.open(path);
    if (!why.isEmpty()) {
        FUZZ_CHECK(expected.empty() && why.startsWith(QStringLiteral("隅切り表 ")) &&
                   why.endsWith(QStringLiteral("隅切りの行がありません。")))
            << why << " with " << expected.size() << " corners";
        return 0;
    }
    FUZZ_CHECK(table.form().encoding == form.encoding) << "encoding";
    FUZZ_CHECK(table.cornerLines() == static_cast<int>(expected.size())) << table.cornerLines() << " announced, " << expected.size() << " in the table";
    size_t k = 0;
    QSet<QString> corners;
    for (TableLine got; table.next(got); ++k) {
        FUZZ_CHECK(k < expected.size()) << "line " << got.corner.line << " is more than the table holds";
        const TableLine& e = expected[k];
        FUZZ_CHECK(got.kind == e.kind && got.corner.line == e.corner.line) << "line " << e.corner.line << ": " << got.error << " / " << e.error;
        FUZZ_CHECK(got.error == e.error || (e.kind == TableLineKind::Bad && got.error.contains(e.error)))
            << "line " << e.corner.line << ": " << got.error << " / " << e.error;
        FUZZ_CHECK(got.corner.ipNumber == e.corner.ipNumber && got.corner.ipName == e.corner.ipName) << "line " << e.corner.line;
        FUZZ_CHECK(got.kind != TableLineKind::Bad || !got.error.isEmpty()) << "line " << got.corner.line;
        FUZZ_CHECK(got.fields == e.fields) << "line " << e.corner.line << ": fields";
        if (got.kind != TableLineKind::Corner) continue;
        const TableCorner& c = got.corner;
        FUZZ_CHECK(c.type >= 0 && c.type <= 3) << c.type;
        for (double v : {c.bpX, c.bpY, c.ipX, c.ipY, c.epX, c.epY, c.radius, c.inner, c.outer, c.divisions})
            FUZZ_CHECK(std::isfinite(v)) << "line " << c.line;
        FUZZ_CHECK(!c.ipNumber.isEmpty() && !corners.contains(c.ipNumber)) << "line " << c.line << ": IP number " << c.ipNumber;
        corners.insert(c.ipNumber);
    }
    FUZZ_CHECK(k == expected.size() && table.error().isEmpty()) << k << " of " << expected.size() << ": " << table.error();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The corner table from any bytes, read as the batch run reads it, checked against a plain
// restatement of the file's form: lines end at CR LF, LF or a lone CR; a byte-order mark opens a
// UTF-8 table, otherwise the table is UTF-8 when all of it is, else CP932; blank lines are passed
// over, the first other line may be the header, and every line after it is a corner or says why
// not. The number of corners announced on opening is the number given.

#include "fuzzcheck.h"

#include "batch/cornertable.h"

#include <QFile>
#include <QStringDecoder>
#include <vector>

namespace {

using namespace tovanel;

std::vector<QByteArray> SplitLines(QByteArray bytes)
{
    std::vector<QByteArray> lines;
    qsizetype at = 0;
    while (at < bytes.size()) {
        qsizetype end = at;
        while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
        lines.push_back(bytes.sliced(at, end - at));
        at = end;
        if (at < bytes.size() && bytes[at++] == '\r' && at < bytes.size() && bytes[at] == '\n') ++at;
    }
    return lines;
}

bool ValidUtf8(const QByteArray& bytes)
{
    QStringDecoder decode(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decode(bytes);
    return !decode.hasError();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = fuzz::ScratchFolder() + QStringLiteral("/table.csv");
    if (QFile f(path); !f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) return 0;

    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom) bytes.remove(0, 3);
    const TextEncoding encoding = bom || ValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Cp932;
    std::vector<TableLine> expected;
    bool first = true;
    int number = 0;
    for (const QByteArray& line : SplitLines(bytes)) {
        TableLine read = ReadTableLine(line, encoding, ++number, first);
        if (read.kind == TableLineKind::Blank) continue;
        first = false;
        if (read.kind != TableLineKind::Header) expected.push_back(read);
    }

    CornerTable table;
    const QString why = table.open(path);
    if (!why.isEmpty()) {
        FUZZ_CHECK(expected.empty() && why.startsWith(QStringLiteral("隅切り表 ")) &&
                   why.endsWith(QStringLiteral("隅切りの行がありません。")))
            << why << " with " << expected.size() << " corners";
        return 0;
    }
    FUZZ_CHECK(table.encoding() == encoding) << "encoding";
    FUZZ_CHECK(table.cornerLines() == static_cast<int>(expected.size())) << table.cornerLines() << " announced, " << expected.size() << " in the table";
    size_t k = 0;
    for (TableLine got; table.next(got); ++k) {
        FUZZ_CHECK(k < expected.size()) << "line " << got.corner.line << " is more than the table holds";
        const TableLine& e = expected[k];
        FUZZ_CHECK(got.kind == e.kind && got.corner.line == e.corner.line && got.error == e.error &&
                   got.corner.ipNumber == e.corner.ipNumber && got.corner.ipName == e.corner.ipName)
            << "line " << e.corner.line << ": " << got.error << " / " << e.error;
        FUZZ_CHECK(got.kind != TableLineKind::Bad || !got.error.isEmpty()) << "line " << got.corner.line;
        FUZZ_CHECK(got.kind != TableLineKind::Corner || (got.corner.type >= 0 && got.corner.type <= 3)) << got.corner.type;
    }
    FUZZ_CHECK(k == expected.size() && table.error().isEmpty()) << k << " of " << expected.size() << ": " << table.error();
    return 0;
}

// SPDX-License-Identifier: GPL-3.0-or-later
// The corner table: one line at a time (what is a corner, a header, a blank or bad line and why),
// the file as a stream (line ends, overlong lines, lines split across reads), and files refused.

#include "batch/cornertable.h"

#include "calc/settingsfile.h"
#include "support/files.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tovanel {
namespace {

QByteArray Cp932(const char* utf8)
{
    QByteArray out;
    EXPECT_TRUE(EncodeCp932(QString::fromUtf8(utf8), out));
    return out;
}

TEST(CornerTable, OneLine)
{
    using enum TableLineKind;
    using enum TextEncoding;
    // `error` is part of the reason, for a bad line.
    const struct { const char* name; QByteArray bytes; TextEncoding encoding; bool first; TableLineKind kind;
                   const char* error; } cases[] = {
        {"plain", "12,0,0,100,100,0,200,100,3,3,1,8", Utf8, true, Corner, ""},
        {"header", "IP番号,BP X,BP Y,IP X", Utf8, true, Header, ""},
        {"header of one field", "隅切り表", Utf8, true, Header, ""},
        {"text where a number goes, later", "IP,BPX,0,0,0,0,0,5,0,0,1", Utf8, false, Corner, ""},
        {"blank", " , ,,", Utf8, true, Blank, ""},
        {"empty quoted fields", "\"\",\"\"", Utf8, true, Blank, ""},
        {"full-width blank", "　,", Utf8, true, Blank, ""},
        {"too few columns", "12,0,0,100,100,0,200,100,3,3", Utf8, false, Bad, "10 個"},
        {"type 4", "12,0,0,100,100,0,200,100,3,3,4", Utf8, false, Bad, "「4」"},
        {"fractional type", "12,0,0,100,100,0,200,100,3,3,2.5", Utf8, false, Bad, "計算方式"},
        {"no type", "12,0,0,100,100,0,200,100,3,3,", Utf8, false, Bad, "計算方式"},
        {"open quote", "\"12,0,0,100,100,0,200,100,3,3,1", Utf8, false, Bad, "引用符"},
        {"bad UTF-8", "1\xff,0,0,100,100,0,200,100,3,3,1", Utf8, false, Bad, "UTF-8"},
        {"bad CP932", "1\x81\x7f,0,0,100,100,0,200,100,3,3,1", Cp932, false, Bad, "0x817F"},
    };
    for (const auto& c : cases) {
        const TableLine t = ReadTableLine(c.bytes, c.encoding, 7, c.first);
        EXPECT_EQ(t.kind, c.kind) << c.name << ": " << t.error.toStdString();
        EXPECT_EQ(t.corner.line, 7) << c.name;
        EXPECT_TRUE(t.error.contains(QString::fromUtf8(c.error))) << c.name << ": " << t.error.toStdString();
    }
}

TEST(CornerTable, FieldsFollowTheBoxesRules)
{
    // Leading numbers as a box reads them (full-width digits as an input method types them, none
    // or empty: 0), a quoted IP number with a comma, names, a CP932 line; the division count kept
    // as written (the composition decides about fractions), 0 when its column is missing.
    const TableLine t = ReadTableLine(Cp932("\"交,1\", 1.5m ,-2,１００,1e2,abc,,10.0,3,4, 2 ,2.5,K1,K2,\"K 3\""),
                                      TextEncoding::Cp932, 3, false);
    ASSERT_EQ(t.kind, TableLineKind::Corner) << t.error.toStdString();
    const TableCorner& c = t.corner;
    EXPECT_EQ(QStringList({c.ipNumber, c.bpName, c.ipName, c.epName}), QStringList({"交,1", "K1", "K2", "K 3"}));
    EXPECT_EQ((std::vector<double>{c.bpX, c.bpY, c.ipX, c.ipY, c.epX, c.epY, c.radius, c.inner, c.outer, double(c.type), c.divisions}),
              (std::vector<double>{1.5, -2, 100, 100, 0, 0, 10, 3, 4, 2, 2.5}));
    EXPECT_EQ(ReadTableLine("5,0,0,100,100,0,200,100,0,0,0", TextEncoding::Utf8, 4, false).corner.divisions, 0);
}

/// Every line a stream gives: its number and bytes, "LONG" for one that was too long.
QStringList Lines(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ByteLines lines(buffer);
    QByteArray line;
    bool tooLong = false;
    QStringList out;
    while (lines.next(line, tooLong))
        out << QStringLiteral("%1:%2").arg(lines.number()).arg(tooLong ? QStringLiteral("LONG") : QString::fromLatin1(line));
    return out;
}

TEST(CornerTable, LineEndsAndLinesAcrossReads)
{
    EXPECT_EQ(Lines("a\r\nb\nc\rd"), (QStringList{"1:a", "2:b", "3:c", "4:d"}));
    EXPECT_EQ(Lines("a\r\n\r\nb\r\nc\r"), (QStringList{"1:a", "2:", "3:b", "4:c"})) << "no line after the last end";
    const QByteArray tooLong(kMaxTableLineBytes + 10, 'x');
    EXPECT_EQ(Lines("a\n" + tooLong + "\nb\n" + tooLong), (QStringList{"1:a", "2:LONG", "3:b", "4:LONG"}));

    // A CR LF split between two reads of the device is one line end, and a lone CR at the end of a
    // read still ends its line.
    for (const char after : {'\n', 'z'}) {
        QByteArray bytes;
        while (bytes.size() + 100 < 256 * 1024) bytes += QByteArray(98, 'p') + "\r\n";
        const int filled = static_cast<int>(bytes.size() / 100);
        bytes += QByteArray(256 * 1024 - 1 - bytes.size(), 'q') + '\r' + after + "last";
        const QStringList lines = Lines(bytes);
        ASSERT_EQ(lines.size(), filled + 2) << after;
        EXPECT_EQ(lines[filled], QStringLiteral("%1:").arg(filled + 1) + QString(43, u'q'));
        EXPECT_EQ(lines.last(), QStringLiteral("%1:%2last").arg(filled + 2).arg(after == '\n' ? "" : "z"));
    }
}

// Which lines are corners, the encoding and the count announced on opening are checked on every
// input by the corner table fuzz target; here the tables that cannot be read at all.
TEST(CornerTable, FilesThatCannotBeRead)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe"));  // no writer: reading would wait
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct { QString path; const char* reason; } cases[] = {
        {dir.filePath(QStringLiteral("missing.csv")), "開けません（ファイルがありません）"},
        {dir.path(), "フォルダです"},
        {fifo, "通常のファイルではありません"},
        // a header and blank lines: empty quoted fields and full-width blanks, before the header and after
        {test::WriteIn(dir, "quotes.csv", "\"\"\r\n,\"\",\r\nIP,BP X\r\n\"\",\"\"\r\n　,\r\n"), "隅切りの行がありません"},
    };
    for (const auto& c : cases) {
        const QString why = CornerTable().open(c.path);
        EXPECT_TRUE(why.startsWith(QStringLiteral("隅切り表 ")) && why.contains(QString::fromUtf8(c.reason))) << why.toStdString();
    }
}

}  // namespace
}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
// The corner table: single lines and cells, the file as a stream, encodings, repeated IP numbers.

#include "batch/cornertable.h"

#include "calc/settingsfile.h"
#include "support/files.h"

#include <QBuffer>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

QByteArray InCp932(const char* utf8)
{
    QByteArray out;
    EXPECT_TRUE(EncodeCp932(QString::fromUtf8(utf8), out));
    return out;
}

const TableForm kUtf8{TextEncoding::Utf8, u','};

TEST(CornerTable, OneLine)
{
    using enum TableLineKind;
    // `error` is part of the reason, for a bad line.
    const struct { const char* name; QByteArray bytes; TableForm form; bool first; TableLineKind kind;
                   const char* error; } cases[] = {
        {"plain", "12,0,0,100,100,0,200,100,3,3,1,8", kUtf8, true, Corner, ""},
        {"header", "IP番号,BP X,BP Y,IP X", kUtf8, true, Header, ""},
        {"header of one field", "隅切り表", kUtf8, true, Header, ""},
        {"first line with numbers but a bad BP X is no header", "1,R=12,0,100,100,0,200,10,3,3,1", kUtf8, true, Bad,
         "BP X が数値ではありません「R=12」"},
        {"first line of a corner without numbers is no header", "5,,,,,,,,,,", kUtf8, true, Bad, "BP X が空です"},
        {"TAB-separated", "12\t0\t0\t100\t100\t0\t200\t100\t3\t3\t1", {TextEncoding::Utf8, u'\t'}, false, Corner, ""},
        {"blank", " , ,,", kUtf8, true, Blank, ""},
        {"empty quoted fields", "\"\",\"\"", kUtf8, true, Blank, ""},
        {"full-width blank", "　,", kUtf8, true, Blank, ""},
        {"too few columns", "12,0,0,100,100,0,200,100,3,3", kUtf8, false, Bad, "10 個"},
        {"fractional type", "12,0,0,100,100,0,200,100,3,3,2.5", kUtf8, false, Bad, "計算方式"},
        {"no type", "12,0,0,100,100,0,200,100,3,3,", kUtf8, false, Bad, "計算方式"},
        {"open quote", "\"12,0,0,100,100,0,200,100,3,3,1", kUtf8, false, Bad, "引用符"},
        {"bad UTF-8", "1\xff,0,0,100,100,0,200,100,3,3,1", kUtf8, false, Bad, "UTF-8"},
        {"bad CP932", "1\x81\x7f,0,0,100,100,0,200,100,3,3,1", {TextEncoding::Cp932, u','}, false, Bad, "0x817F"},
    };
    for (const auto& c : cases) {
        const TableLine t = ReadTableLine(c.bytes, c.form, 7, c.first);
        EXPECT_EQ(t.kind, c.kind) << c.name << ": " << t.error.toStdString();
        EXPECT_EQ(t.corner.line, 7) << c.name;
        EXPECT_TRUE(t.error.contains(QString::fromUtf8(c.error))) << c.name << ": " << t.error.toStdString();
    }
}

TEST(CornerTable, EveryCellIsReadWholeOrTheLineRefused)
{
    // One cell of a good line replaced; `error` empty when read, then `value` is what the column holds.
    // The number rule itself is StrictNumber's: here each column reads through it and names itself.
    const QStringList good = QString("5,0,0,100,100,0,200,100,3,3,1,,B,I,E").split(',');
    const struct { const char* name; int column; QByteArray cell; const char* error; double value; } cases[] = {
        {"thousands separators", 1, "\"-123,455.670\"", "", -123455.67},
        {"full-width digits and point", 8, "１２．５", "", 12.5},
        {"type written 1.0", 10, "1.0", "", 1},
        {"division count empty", 11, "", "", 0},
        {"division count kept as written", 11, "2.5", "", 2.5},
        {"a unit after the number", 1, "1.5m", "BP X が数値ではありません「1.5m」", 0},
        {"text in the radius", 7, "R=12", "半径 が数値ではありません「R=12」", 0},
        {"empty inner width", 8, "", "内幅員 が空です", 0},
        {"nan", 9, "nan", "外幅員 が数値ではありません「nan」", 0},
        {"beyond a double", 3, "1e999", "IP X が数値ではありません", 0},
        {"badly grouped", 5, "\"1,2,3\"", "EP X が数値ではありません「1,2,3」", 0},
        {"a NUL byte", 6, QByteArray("1\0", 2), "EP Y が数値ではありません", 0},
        {"type as text", 10, "千鳥", "計算方式「千鳥」", 0},
        {"bad division count", 11, "N", "分割数 が数値ではありません「N」", 0},
        {"no IP number", 0, "", "IP番号 が空です", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList cells = good;
        cells[c.column] = QString::fromUtf8(c.cell);
        const TableLine t = ReadTableLine(cells.join(',').toUtf8(), kUtf8, 3, false);
        if (*c.error) {
            EXPECT_EQ(t.kind, TableLineKind::Bad);
            EXPECT_TRUE(t.error.contains(QString::fromUtf8(c.error))) << t.error.toStdString();
            continue;
        }
        ASSERT_EQ(t.kind, TableLineKind::Corner) << t.error.toStdString();
        const TableCorner& k = t.corner;
        const double columns[] = {0, k.bpX, k.bpY, k.ipX, k.ipY, k.epX, k.epY, k.radius, k.inner, k.outer, double(k.type), k.divisions};
        EXPECT_EQ(columns[c.column], c.value);
        EXPECT_EQ(QStringList({k.ipNumber, k.bpName, k.ipName, k.epName}), QStringList({"5", "B", "I", "E"}));
    }
}

/// Every line a stream gives: its number and bytes, "LONG" for one that was too long.
QStringList Lines(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    ByteLines lines(buffer, kMaxTableLineBytes);
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
    EXPECT_EQ(Lines("a\r\nb\r\n\x1a"), (QStringList{"1:a", "2:b"})) << "a DOS end-of-file mark is no line";
    EXPECT_EQ(Lines("a\r\nb\x1a"), (QStringList{"1:a", "2:b"}));
    EXPECT_EQ(Lines("a\x1a\r\nb"), (QStringList{"1:a\x1a", "2:b"})) << "only at the very end";

    // A CR LF split between two device reads is one line end; a lone CR at a read's end ends its line.
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

/// The table read from a file: its form, and per line "line:IP BP-name BP-X" or "line:reason".
struct TableRead {
    QString openError;
    TableForm form;
    QStringList lines;
};

TableRead ReadTable(const QByteArray& bytes)
{
    QTemporaryDir dir;
    CornerTable table;
    TableRead r;
    r.openError = table.open(test::WriteIn(dir, QStringLiteral("t.csv"), bytes));
    r.form = table.form();
    for (TableLine t; table.next(t);)
        r.lines << QStringLiteral("%1:%2").arg(t.corner.line).arg(
            t.kind == TableLineKind::Corner ? QStringLiteral("%1 %2 %3").arg(t.corner.ipNumber, t.corner.bpName).arg(t.corner.bpX) : t.error);
    return r;
}

TEST(CornerTable, LineLengthLimitToTheByte)
{
    // Exactly the limit is kept, one byte more is not: mid-file, last without an end, across a read.
    const QByteArray atLimit(kMaxTableLineBytes, 'x'), over(kMaxTableLineBytes + 1, 'x');
    const QString kept = QStringLiteral("2:") + QString::fromLatin1(atLimit);
    EXPECT_EQ(Lines("a\n" + atLimit + "\nb"), (QStringList{"1:a", kept, "3:b"}));
    EXPECT_EQ(Lines("a\n" + over + "\nb"), (QStringList{"1:a", "2:LONG", "3:b"}));
    EXPECT_EQ(Lines("a\n" + atLimit), (QStringList{"1:a", kept}));
    EXPECT_EQ(Lines("a\n" + over), (QStringList{"1:a", "2:LONG"}));
    EXPECT_EQ(Lines("a\n" + over + "\x1a"), (QStringList{"1:a", "2:LONG"}));
    const QByteArray filler(256 * 1024 - 10, 'f');
    EXPECT_EQ(Lines(filler + '\n' + atLimit + "\r\n").last(), QStringLiteral("2:") + QString::fromLatin1(atLimit));
    EXPECT_EQ(Lines(filler + '\n' + over + "\r\n").last(), QStringLiteral("2:LONG"));

    // The same through the table: a corner padded to the limit is read, one byte more is refused.
    auto padded = [](QByteArray line, qsizetype size) { return line + QByteArray(size - line.size(), ' '); };
    const TableRead r = ReadTable(padded("1,0,0,100,100,0,200,10,3,3,1,,P", kMaxTableLineBytes) + "\r\n" +
                                  padded("2,0,0,100,100,0,200,10,3,3,1,,Q", kMaxTableLineBytes + 1) + "\r\n");
    EXPECT_EQ(r.lines, (QStringList{"1:1 P 0", "2:行が長すぎます（64 KB まで）。"}));
}

TEST(CornerTable, EncodingsAndSeparatorsAsSpreadsheetsWriteThem)
{
    using enum TextEncoding;
    const QString header = QStringLiteral("IP番号,BP X,BP Y,IP X,IP Y,EP X,EP Y,半径,内幅員,外幅員,計算方式,分割数,BP名,IP名,EP名\r\n");
    const QString line = QStringLiteral("交1,-12.5,0,100,100,0,200,10,3,3,1,,ｺｰﾅｰ,I,E\r\n");
    QString tabs = header + line;
    tabs.replace(u',', u'\t');
    // A spreadsheet's "Unicode text": quoted numbers with thousands separators, TABs between.
    const QString unicodeText = tabs + QStringLiteral("交2\t\"1,000.5\"\t0\t100\t100\t0\t200\t10\t3\t3\t1\t\tﾊｼ\tI\tE\r\n");
    const struct { const char* name; QByteArray bytes; TextEncoding encoding; QChar separator; QStringList lines; } cases[] = {
        {"UTF-16 LE, TAB-separated", test::Utf16(unicodeText, false), Utf16Le, u'\t', {"2:交1 ｺｰﾅｰ -12.5", "3:交2 ﾊｼ 1000.5"}},
        {"UTF-16 BE, CSV", test::Utf16(header + line, true), Utf16Be, u',', {"2:交1 ｺｰﾅｰ -12.5"}},
        // ﾊｼ in CP932 (CA BC) is also valid UTF-8 (ʼ): with nothing of three bytes the file is CP932.
        {"CP932 with half-width katakana only", InCp932("1,0,0,100,100,0,200,10,3,3,1,,ﾊｼ\r\n2,0,0,100,100,0,200,10,3,3,1,,ﾅｰ\r\n"),
         Cp932, u',', {"1:1 ﾊｼ 0", "2:2 ﾅｰ 0"}},
        {"CP932 katakana that is no UTF-8", InCp932("1,0,0,100,100,0,200,10,3,3,1,,ｺｰﾅｰ\r\n"), Cp932, u',', {"1:1 ｺｰﾅｰ 0"}},
        {"UTF-8 of three-byte characters", "1,0,0,100,100,0,200,10,3,3,1,,ʼ交\r\n", Utf8, u',', {"1:1 ʼ交 0"}},
        {"UTF-16 cut in the middle of a character", test::Utf16(QStringLiteral("1,0,0,1,1,0,2,1,0,0,1"), false) + "\x31",
         Utf16Le, u',', {"1:UTF-16 として読めない文字があります。"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TableRead r = ReadTable(c.bytes);
        ASSERT_EQ(r.openError, QString());
        EXPECT_EQ(r.form.encoding, c.encoding);
        EXPECT_EQ(r.form.separator, c.separator);
        EXPECT_EQ(r.lines, c.lines);
    }
}

// Every rule of repeated numbers (a refused line's too) is the fuzz target's; here the message.
TEST(CornerTable, IpNumbersDiffer)
{
    const TableRead r = ReadTable("IP番号,BP X\r\n"
                                  "5,0,0,100,100,0,200,10,3,3,1\r\n"
                                  "6,0,0,100,100,0,200,10,3,3,1\r\n"
                                  "5,0,0,100,100,0,200,10,3,3,1\r\n");
    EXPECT_EQ(r.lines, (QStringList{"2:5  0", "3:6  0",
                                    "4:IP番号「5」は 2 行目と同じです。IP番号は点名になるため、表の中で一つずつにしてください。"}));
}

// Tables that cannot be read at all; which files are opened is the text-file layer's.
TEST(CornerTable, FilesThatCannotBeRead)
{
    QTemporaryDir dir;
    const struct { QString path; const char* reason; } cases[] = {
        {dir.filePath(QStringLiteral("missing.csv")), "開けません（ファイルがありません）"},
        // a header and blank lines: empty quoted fields and full-width blanks, before the header and after
        {test::WriteIn(dir, "quotes.csv", "\"\"\r\n,\"\",\r\nIP,BP X\r\n\"\",\"\"\r\n　,\r\n"), "隅切りの行がありません"},
    };
    for (const auto& c : cases) {
        const QString why = CornerTable().open(c.path);
        EXPECT_TRUE(why.startsWith(QStringLiteral("隅切り表 "))) << why.toStdString();
        EXPECT_TRUE(why.contains(QString::fromUtf8(c.reason))) << why.toStdString();
    }
}

}  // namespace
}  // namespace tovanel

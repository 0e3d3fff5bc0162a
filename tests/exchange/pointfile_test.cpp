// SPDX-License-Identifier: GPL-3.0-or-later
// Point files coming in: good files, bad ones refused with their line, names found as typed.

#include "exchange/pointfile.h"

#include "../print/qstringprint.h"
#include "support/files.h"

#include <gtest/gtest.h>

namespace tovanel {
namespace {

// "交点", "表ｿ" in CP932: 表 ends in the byte of a backslash, ｿ is a half-width kana.
const QByteArray kKoutenCp932("\x8c\xf0\x93\x5f");
const QByteArray kHyouSoCp932("\x95\x5c\xbf");

TEST(PointFile, ReadsGoodFiles)
{
    // The count of points read, and the name, X as written, Y and line of the last one.
    const struct { const char* name; QByteArray bytes; PointFormat format; int count;
                   const char *lastName, *lastX; double lastY; int lastLine; } cases[] = {
        {"SIMA as written, CP932, CR LF",
         "G00,01,site,\r\nZ00,\xcd\xde\xb0\xc0,\r\nA00,\r\nA01,1,BP,1.000,2.000,,\r\nA01,2," + kKoutenCp932 +
             ",-12345.678,98765.432,12.5,\r\nA99,\r\n",
         PointFormat::Sima, 2, "交点", "-12345.678", 98765.432, 5},
        {"SIMA padded with blanks, LF, no header records, other records around",
         "A00,\nA01,   15,T.1A  , 1025.529, 999.253, 270.907,\nA99,\nZ00,parcels,\nD00,1,1-1,1,\nB01,15,T.1A,\n",
         PointFormat::Sima, 1, "T.1A", "1025.529", 999.253, 2},
        {"SIMA with a name holding a backslash byte", "A01,1," + kHyouSoCp932 + ",1,2\r\n", PointFormat::Sima, 1,
         "表ｿ", "1", 2, 1},
        {"CSV with header, CP932", "\x93\x5f\x94\xd4\x8d\x86,\x93\x5f\x96\xbc,X,Y\r\n7," + kKoutenCp932 + ",3.5,-4\r\n",
         PointFormat::Csv, 1, "交点", "3.5", -4, 2},
        {"CSV without header, UTF-8 with BOM, extra columns",
         "\xef\xbb\xbf" "1,交点,10,20,5.0,note\n2,境界,+1e2,.5\n", PointFormat::Csv, 2, "境界", "+1e2", 0.5, 2},
        {"CSV, UTF-8 without BOM, quoted names, blank rows, CR line ends",
         "no,name,x,y\r,,,\r\r1,\"a, \"\"b\"\"\",1,2\r2,\"  C  \" ,3,4\r", PointFormat::Csv, 2, "  C  ", "3", 4, 5},
        {"SIMA with full-width digits and a DOS end-of-file mark", "A01,1,BP,１２．５,－3\r\n\x1a", PointFormat::Sima, 1,
         "BP", "12.5", -3, 1},
        {"CSV whose header puts Y before X", "点番号,点名,Y,X\r\n1,P,20,10\r\n", PointFormat::Csv, 1, "P", "10", 20, 2},
        {"CSV whose header names other columns and orders them", "X座標, Y座標 ,標高,名称,No.\r\n1,2,3,P,9\r\n",
         PointFormat::Csv, 1, "P", "1", 2, 2},
        {"CSV header in full-width letters", "点名,Ｘ,Ｙ\r\nP,1,2\r\n", PointFormat::Csv, 1, "P", "1", 2, 2},
        {"UTF-16 LE, TAB-separated", test::Utf16(QStringLiteral("点番号\t点名\tX\tY\r\n1\t境界\t\"1,234.5\"\t6\r\n"), false),
         PointFormat::Csv, 1, "境界", "1234.5", 6, 2},
        // CA BC is ﾊｼ in CP932 and also valid UTF-8 (ʼ): with nothing of three bytes it is CP932.
        {"CP932 with half-width katakana only", "A01,1,\xca\xbc,1,2\r\nA01,2,\xba\xb0\xc5\xb0,3,4\r\n", PointFormat::Sima,
         2, "ｺｰﾅｰ", "3", 4, 2},
    };
    for (const auto& c : cases) {
        const PointFileRead r = ReadPointFile(c.bytes);
        ASSERT_TRUE(r.ok()) << c.name << ": " << r.error.toStdString() << " line " << r.line;
        EXPECT_EQ(r.format, c.format) << c.name;
        ASSERT_EQ(static_cast<int>(r.points.size()), c.count) << c.name;
        const FilePoint& p = r.points.back();
        EXPECT_EQ(QStringList({p.name, p.xText}), QStringList({QString::fromUtf8(c.lastName), QString::fromUtf8(c.lastX)})) << c.name;
        EXPECT_EQ(p.y, c.lastY) << c.name;
        EXPECT_EQ(p.line, c.lastLine) << c.name;
    }
}

TEST(PointFile, RefusesBadFilesNamingTheLine)
{
    const struct { const char* name; QByteArray bytes; int line; const char* says; } cases[] = {
        {"blank lines only", "\r\n  \r\n", 0, "空です"},
        {"neither format", "hello world\nthis is a letter\n", 1, "CSV 座標ファイル"},
        {"SIMA without A01", "G00,01,x,\r\nA00,\r\nA99,\r\n", 0, "A01"},
        {"A01 too short", "A00,\r\nA01,1,BP,1.0\r\n", 2, "項目が足りません"},
        {"A01 X no number", "A01,1,BP,1.0,2.0\r\nA01,2,IP,1.2.3,2\r\n", 2, "X が数値ではありません「1.2.3」"},
        {"A01 Y empty", "A01,1,BP,1.0,\r\n", 1, "Y が数値ではありません"},
        {"CSV X no number after the header", "no,name,X,Y\r\n1,a,1,2\r\n2,b,abc,3\r\n", 3, "X が数値ではありません"},
        {"CSV header only", "点番号,点名,X,Y\r\n", 0, "座標の行がありません"},
        {"CSV header naming no known column", "a,b,c,d\r\n1,a,1,2\r\n", 1, "座標の行でもありません。X が数値ではありません「c」"},
        {"CSV first line with a bad number is no header", "1,a,1.2.3,2\r\n2,b,1,2\r\n", 1, "X が数値ではありません「1.2.3」"},
        {"CSV header without Y", "点番号,点名,X,Z\r\n1,a,1,2\r\n", 1, "X と Y の列がありません"},
        {"CSV header naming X twice", "X,x座標,Y\r\n1,2,3\r\n", 1, "二つあります"},
        {"CSV row shorter than its header", "Y,名称,X\r\n1,a\r\n", 2, "項目が足りません"},
        {"UTF-16 with half a surrogate pair", test::Utf16(QStringLiteral("1,a,1,2\n") + QChar(0xD800), false), 2, "UTF-16"},
        {"CSV open quote", "1,\"a,1,2\r\n", 1, "閉じていません"},
        {"CSV text after a quote", "1,\"a\"b,1,2\r\n", 1, "引用符"},
        {"bad CP932 on line 3", "1,a,1,2\r\n2,b,1,2\r\n3,\x85\x40,1,2\r\n", 3, "0x8540"},
        {"bad UTF-8 after a BOM", "\xef\xbb\xbf" "1,a,1,2\n2,\xe3\x81,1,2\n", 2, "UTF-8"},
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\xff\xfe", 19), 4, "読めない"},
    };
    for (const auto& c : cases) {
        const PointFileRead r = ReadPointFile(c.bytes);
        EXPECT_FALSE(r.ok()) << c.name;
        EXPECT_TRUE(r.points.empty()) << c.name;
        EXPECT_EQ(r.line, c.line) << c.name << ": " << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(QString::fromUtf8(c.says))) << c.name << ": " << r.error.toStdString();
    }
}

// Which files are opened is the text-file layer's; the message names the file and the line.
TEST(PointFile, MessagesNameTheFile)
{
    QTemporaryDir dir;
    const QString none = dir.filePath(QStringLiteral("none.sim"));
    const PointFileRead missing = LoadPointFile(none);
    EXPECT_TRUE(missing.error.contains(QStringLiteral("開けません（ファイルがありません）"))) << missing.error.toStdString();
    EXPECT_TRUE(PointFileMessage(none, missing).contains(none));
    const QString bad = test::WriteIn(dir, QStringLiteral("p.csv"), "1,a,1,2\r\n2,b,x,2\r\n");
    EXPECT_EQ(PointFileMessage(bad, LoadPointFile(bad)),
              QStringLiteral("座標ファイル %1 の 2 行目: X が数値ではありません「x」。").arg(bad));
}

TEST(PointFile, NamesAsTheyAreTypedFindTheirPoints)
{
    // A CP932 file gives ～ and － back for 〜 and −, which input methods type; each finds the other.
    PointFileRead read;
    for (const char* name : {"A～1", "B－2", "C", "C", "ＩＰ１２"}) read.points.push_back({"", QString::fromUtf8(name), "0", "0", 0, 0, static_cast<int>(read.points.size()) + 1});
    const struct { const char* typed; int line; const char* says; } cases[] = {
        {"A〜1", 1, ""}, {"A～1", 1, ""}, {"B−2", 2, ""}, {"B-2", 0, "ありません"}, {"A~1", 0, "ありません"},
        {"C", 0, "2 点あります（3, 4 行目）"}, {"IP12", 0, "ありません"}, {"ＩＰ１２", 5, ""},
    };
    for (const auto& c : cases) {
        const FilePoint* found = nullptr;
        const QString why = FindPoint(QStringLiteral("p.sim"), read, QString::fromUtf8(c.typed), found);
        EXPECT_TRUE(why.contains(QString::fromUtf8(c.says))) << c.typed << ": " << why.toStdString();
        EXPECT_EQ(found && why.isEmpty() ? found->line : 0, c.line) << c.typed;
    }
    // The point list's search: full-width and half-width alike, any case, the CP932 forms.
    EXPECT_TRUE(PointSearchKey(u"ＩＰ１２").contains(PointSearchKey(u"ip")));
    EXPECT_TRUE(PointSearchKey(u"ｺｰﾅｰ").contains(PointSearchKey(u"コーナー")));
    EXPECT_EQ(PointSearchKey(u"A〜1"), PointSearchKey(u"a～1"));
    EXPECT_FALSE(PointSearchKey(u"BP1").contains(PointSearchKey(u"IP")));
}

}  // namespace
}  // namespace tovanel

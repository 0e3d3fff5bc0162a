// SPDX-License-Identifier: GPL-3.0-or-later
// The batch run against the single-corner path, and runs that are cancelled or fail.

#include "batch/batchrun.h"

#include "calc/atomicfile.h"
#include "calc/elementlist.h"
#include "exchange/dxfdrawing.h"
#include "exchange/pointwriter.h"
#include "calc/exportlist.h"
#include "sheets/blocksheet.h"

#include "../sheets/sheetfixture.h"
#include "support/files.h"
#include "support/run.h"

#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <cerrno>
#include <cstdio>

namespace tovanel {
namespace {

using test::Corner;
using test::Doc;
using test::ReadAll;

QByteArray Line(const Corner& c)
{
    QByteArray line = c.ip;
    for (double v : {c.bx, c.by, c.ix, c.iy, c.ex, c.ey, c.r, c.wi, c.wo, double(c.type), c.n})
        line += ',' + QByteArray::number(v, 'g', 17);
    return line;
}

struct Outputs {
    QTemporaryDir dir;
    BatchOutputs out{dir.filePath("sheets.pdf"), dir.filePath("points.sim"), dir.filePath("points.csv"),
                     dir.filePath("corners.dxf"), dir.filePath("elements.csv")};
    QStringList paths() const { return {out.pdf, out.sima, out.csv, out.dxf, out.elements}; }
};

// Both turns, every type, counts given and chosen, a CP932 IP number, a curve past BP and EP.
const Corner kGood[] = {
    {.ix = 100, .iy = 100, .ey = 200, .r = 100, .type = 0, .n = 8, .ip = "1"},
    {.bx = 0, .by = 20, .ix = 10, .iy = 10, .ex = 0, .ey = 0, .r = 10, .wi = 1, .wo = 2, .type = 2, .n = 1, .ip = "交2"},
    {.bx = -5.25, .by = 3.5, .ix = 40.125, .iy = 60.5, .ex = 12, .ey = 130.75, .r = 15, .wi = 2.5, .wo = 4, .type = 1, .n = 0, .ip = "3"},
    {.ix = 50, .iy = 0, .ex = 50, .ey = 50, .r = 8, .wi = 0, .wo = 0, .type = 3, .n = 0, .ip = "4"},
    {.ix = 10, .iy = 0, .ex = -5, .ey = 1, .r = 6, .wi = 1, .wo = 2, .type = 1, .n = 0, .ip = "5"},
};

TEST(BatchRun, EveryCornerAsTheSingleCornerPathComputesIt)
{
    // Refused corners give the single-corner path's reasons (a count the table kept as written).
    const Corner refusedCorners[] = {
        {.n = 1001, .ip = "9"},
        {.n = 2.5, .ip = "10"},
        {.r = 3, .wi = 3, .ip = "14"},
    };
    const int refusedLines[] = {3, 11, 12};

    Outputs o;
    QByteArray table = "IP番号,BP X,BP Y,IP X,IP Y,EP X,EP Y,R,内幅員,外幅員,計算方式,分割数\r\n";
    table += Line(kGood[0]) + "\r\n" + Line(refusedCorners[0]) + "\r\n" + Line(kGood[1]) + "\r\n7,0,0\r\n\r\n";
    for (size_t k = 2; k < std::size(kGood); ++k) table += Line(kGood[k]) + "\r\n";
    table += Line({.type = 9, .ip = "11"}) + "\r\n";
    for (size_t k = 1; k < std::size(refusedCorners); ++k) table += Line(refusedCorners[k]) + "\r\n";
    const QString path = test::WriteIn(o.dir, "block.csv", table);

    QStringList refused, warned;
    BatchCallbacks callbacks;
    callbacks.refused = [&](const BatchRefusal& r) { refused << QStringLiteral("%1:%2").arg(r.line).arg(r.reason); };
    callbacks.warned = [&](const BatchWarning& w) { warned << QStringLiteral("%1:%2:").arg(w.line).arg(w.ipNumber) + w.lines.join('|'); };
    const BatchResult r = RunBatch(path, DefaultSettings(), o.out, callbacks);
    ASSERT_TRUE(r.failure.isEmpty()) << r.failure.toStdString();
    EXPECT_EQ(std::vector({r.total, r.done, r.refused, r.warned}), std::vector({10, 5, 5, 1}));
    ASSERT_EQ(refused.size(), 5);
    EXPECT_TRUE(refused[1].startsWith(QStringLiteral("5:項目が 3 個"))) << refused.join('\n').toStdString();
    EXPECT_TRUE(refused[2].startsWith(QStringLiteral("10:計算方式「9」"))) << refused.join('\n').toStdString();
    refused.removeAt(2), refused.removeAt(1);
    for (size_t k = 0; k < std::size(refusedCorners); ++k) {
        const QString why = Doc(refusedCorners[k]).refusal;
        ASSERT_FALSE(why.isEmpty()) << refusedCorners[k].ip;
        EXPECT_EQ(refused.value(static_cast<qsizetype>(k)), QStringLiteral("%1:").arg(refusedLines[k]) + why);
    }
    Doc warnedCorner(kGood[4]);
    const QStringList warnings = CornerWarnings(warnedCorner.k.in, warnedCorner.k.el);
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_EQ(warned, QStringList{"9:5:" + warnings.join('|')});
    EXPECT_EQ(r.warnedLines, QList<int>{9});
    EXPECT_TRUE(BatchSummary(r).contains(QStringLiteral("うち 1 箇所は曲線がBP・EPの外まで延びています（9 行目）。")))
        << BatchSummary(r).toStdString();
    EXPECT_EQ(r.written, o.paths());

    // What the single-corner path gives for each corner, in table order.
    QByteArray elements = "\xEF\xBB\xBF" + ElementsHeader().toUtf8() + '\n';  // a file: with its byte-order mark
    std::vector<ExportPoint> points;
    std::vector<DxfCorner> corners;
    int pages = 0;
    for (const Corner& c : kGood) {
        const Doc d(c);
        ASSERT_TRUE(d.refusal.isEmpty()) << c.ip;
        std::string line = c.ip;
        for (const NamedValue& e : ElementList(d.k.el)) line += ',', AppendFullDigits(line, e.value);
        elements += QByteArray::fromStdString(line) + '\n';
        for (const ExportPoint& p : ExportPoints(d.exports)) points.push_back(p);
        corners.push_back(CornerOf(d.k, d.exports, BlockExportCounts(d.k)));
        pages += d.pl.pageCount();
    }
    QByteArray sima, csv, dxf;
    ASSERT_TRUE(SimaFile(points, QStringLiteral("block"), sima).isEmpty());
    ASSERT_TRUE(CsvFile(points, csv).isEmpty());
    ASSERT_TRUE(DxfFile(corners, dxf).isEmpty());
    EXPECT_EQ(ReadAll(o.out.elements), elements);
    EXPECT_EQ(ReadAll(o.out.sima), sima) << "point numbers run on from corner to corner";
    EXPECT_EQ(ReadAll(o.out.csv), csv);
    EXPECT_EQ(ReadAll(o.out.dxf), dxf) << "one drawing of every corner";

    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) GTEST_SKIP() << "counting PDF pages needs pdfinfo";
    EXPECT_TRUE(test::Launch("pdfinfo", {o.out.pdf}).out.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(pages))))
        << "each corner's pages, each corner from a new page";
}

TEST(BatchRun, NothingIsWrittenUnlessTheRunEnds)
{
    QTemporaryDir tables;
    const QString good = test::WriteIn(tables, "good.csv", Line(kGood[0]) + "\n" + Line(kGood[1]) + "\n");
    const QString bad = test::WriteIn(tables, "bad.csv", "1,0,0\n2,0,0,0,0,0,0,5,0,0,7\n");
    // `unwritable`: the PDF in a missing folder; `failure`, `summary`: parts of what is said.
    const struct { const char* name; QString table; bool cancel, unwritable; const char *failure, *summary; } cases[] = {
        {"cancelled after the first corner", good, true, false, "", "1 / 2 箇所目で中止しました"},
        {"an output that cannot be written", good, false, true, "sheets.pdf に書けません", "ファイルは書いていません"},
        {"every line refused", bad, false, false, "", "計算できなかった行が 2 行あります。書くものがない"},
        {"no table", tables.filePath(QStringLiteral("none.csv")), false, false, "none.csv: 開けません", ""},
    };
    for (const auto& c : cases) {
        Outputs o;
        for (const QString& p : o.paths()) test::WriteAll(p, "previous");
        if (c.unwritable) o.out.pdf = o.dir.filePath(QStringLiteral("no/such/folder/sheets.pdf"));
        BatchCallbacks callbacks;
        int asked = 0;
        callbacks.cancelled = [&] { return c.cancel && ++asked == 1; };
        const BatchResult r = RunBatch(c.table, DefaultSettings(), o.out, callbacks);
        EXPECT_TRUE(r.written.isEmpty()) << c.name;
        EXPECT_EQ(r.cancelled, c.cancel) << c.name;
        EXPECT_TRUE(r.failure.contains(QString::fromUtf8(c.failure))) << c.name << ": " << r.failure.toStdString();
        EXPECT_EQ(r.failure.isEmpty(), !*c.failure) << c.name << ": " << r.failure.toStdString();
        EXPECT_TRUE(BatchSummary(r).contains(QString::fromUtf8(c.summary))) << c.name << ": " << BatchSummary(r).toStdString();
        for (const QString& p : o.paths())
            EXPECT_EQ(ReadAll(p), c.unwritable && p == o.out.pdf ? "(missing)" : "previous") << c.name << " " << p.toStdString();
        EXPECT_EQ(QDir(o.dir.path()).entryList(QDir::Files).size(), 5) << c.name << ": no temporary file left";
    }
}

// The third rename fails: the summary does not claim nothing was written (the message's list of
// files replaced and kept is CommitAll's).
TEST(BatchRun, ReplacingThatFailsPartWayNamesTheFilesReplacedAndKept)
{
    QTemporaryDir tables;
    const QString good = test::WriteIn(tables, "good.csv", Line(kGood[0]) + "\n");
    Outputs o;
    for (const QString& p : o.paths()) test::WriteAll(p, "previous");
    int renames = 0;
    SetCommitCallsForTest({{}, [&](const char* from, const char* to) {
                               if (++renames != 3) return std::rename(from, to);
                               errno = EACCES;
                               return -1;
                           }});
    const BatchResult r = RunBatch(good, DefaultSettings(), o.out);
    SetCommitCallsForTest({});
    EXPECT_EQ(r.written, QStringList({o.out.pdf, o.out.sima}));
    EXPECT_TRUE(r.failure.startsWith(QDir::toNativeSeparators(o.out.csv) + QStringLiteral(" に書けません: 書き込む権限がありません。")))
        << r.failure.toStdString();
    EXPECT_FALSE(BatchSummary(r).contains(QStringLiteral("ファイルは書いていません"))) << BatchSummary(r).toStdString();
    EXPECT_TRUE(ReadAll(o.out.pdf).startsWith("%PDF"));
    EXPECT_TRUE(ReadAll(o.out.sima).startsWith("G00,"));
    for (const QString& kept : {o.out.csv, o.out.dxf, o.out.elements}) EXPECT_EQ(ReadAll(kept), "previous") << kept.toStdString();
    EXPECT_EQ(QDir(o.dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 5) << "no temporary file left";
}

}  // namespace
}  // namespace tovanel

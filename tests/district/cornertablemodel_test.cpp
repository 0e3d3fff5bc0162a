// SPDX-License-Identifier: GPL-3.0-or-later
// The corner table as a document: cells, rows, undo, paste, the file byte for byte, the batch's refusals.

#include "district/cornertablemodel.h"

#include "batch/batchrun.h"
#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/settingsfile.h"

#include "../print/qstringprint.h"
#include "support/files.h"

#include <QTemporaryDir>
#include <QUndoStack>
#include <gtest/gtest.h>
#include <map>

namespace tovanel {
namespace {

using test::ReadAll;
using test::WriteIn;

QString U(const char* s) { return QString::fromUtf8(s); }

/// A row of cells from one comma-separated line in the file's column order.
RowCells Cells(const char* line)
{
    RowCells c;
    const QStringList f = U(line).split(QLatin1Char(','));
    for (qsizetype i = 0; i < f.size() && i < kTableColumns; ++i) c[static_cast<size_t>(i)] = f[i];
    return c;
}

// A right turn of 90° at IP (100, 100), legs of 100 and 141.
constexpr const char* kGood = "1,0,0,100,100,0,200,10,1,2,0,,B1,I1,E1";

struct Table {
    CornerTableModel model{DefaultSettings()};
    explicit Table(std::initializer_list<const char*> lines = {kGood})
    {
        std::vector<TableRow> rows;
        for (const char* l : lines) {
            TableRow row;
            row.cells = Cells(l);
            rows.push_back(std::move(row));
        }
        model.resetRows(std::move(rows));
    }
    QString cell(int r, int viewColumn) const { return model.data(model.index(r, viewColumn), Qt::EditRole).toString(); }
};

TEST(CornerTableCells, StrictNumbersTypesAndTextsTheFileCanHold)
{
    const struct { const char* name; int column; const char* text; const char* refusal; const char* stored; } rows[] = {
        {"full-width", 2, "１２．５０", "", "12.5"},
        {"grouped thousands", 3, "-123,455.670", "", "-123455.67"},
        {"unit after the number", 1, "12.5m", "BP X が数値ではありません「12.5m」。", ""},
        {"type name", 10, "千鳥", "", "1"},
        {"type out of range", 10, "4",
         "計算方式「4」は 0（平行）、1（千鳥）、2（外接）、3（等曲率半径）のどれでもありません。", ""},
        {"IP number kept as typed", 0, " A-1 ", "", " A-1 "},
        {"TAB in a name", 12, "B\t1", "BP名 にタブや改行は入れられません。", ""},
        {"no code page 932 form", 14, "E\u00e91", "EP名 の「\u00e9」は隅切り表のファイル（シフトJIS）に書けない文字です。", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        EXPECT_EQ(CellProblem(r.column, U(r.text)), U(r.refusal));
        if (!*r.refusal) {
            EXPECT_EQ(NormalisedCell(r.column, U(r.text)), U(r.stored));
        }
    }
}

TEST(CornerTableModel, AnEditIsTakenOrRefusedRecomputedAndUndone)
{
    Table t;
    ASSERT_EQ(t.model.row(0).status, RowStatus::Computed);
    const double tl = t.model.row(0).corner.el.TL;
    EXPECT_NEAR(tl, 10, 1e-6);  // R tan(IA/2) with IA = 90°

    // Refused where it is typed: the cell and the undo stack stay as they were.
    EXPECT_EQ(t.model.setCell(0, CornerTableModel::ColRadius, U("20m")), U("半径 が数値ではありません「20m」。"));
    EXPECT_EQ(t.cell(0, CornerTableModel::ColRadius), U("10"));
    EXPECT_EQ(t.model.undoStack()->count(), 0);
    EXPECT_FALSE(t.model.setData(t.model.index(0, CornerTableModel::ColRadius), U("x"), Qt::EditRole));
    EXPECT_FALSE(t.model.setData(t.model.index(0, CornerTableModel::ColTL), U("1"), Qt::EditRole));

    // Taken: the row is computed at once.
    EXPECT_EQ(t.model.setCell(0, CornerTableModel::ColRadius, U("２０")), QString());
    EXPECT_EQ(t.cell(0, CornerTableModel::ColRadius), U("20"));
    EXPECT_NEAR(t.model.row(0).corner.el.TL, 20, 1e-6);
    EXPECT_EQ(t.model.undoStack()->undoText(), U("1 行目の 半径 の変更"));
    EXPECT_FALSE(t.model.undoStack()->isClean());

    t.model.undoStack()->undo();
    EXPECT_EQ(t.cell(0, CornerTableModel::ColRadius), U("10"));
    EXPECT_NEAR(t.model.row(0).corner.el.TL, 10, 1e-6);
    EXPECT_TRUE(t.model.undoStack()->isClean());
    t.model.undoStack()->redo();
    EXPECT_NEAR(t.model.row(0).corner.el.TL, 20, 1e-6);
    // The same text again is no step.
    EXPECT_EQ(t.model.setCell(0, CornerTableModel::ColRadius, U("20.0")), QString());
    EXPECT_EQ(t.model.undoStack()->count(), 1);
}

TEST(CornerTableModel, StatusOfEachRow)
{
    const struct { const char* name; const char* line; RowStatus status; const char* message; } rows[] = {
        {"computed", kGood, RowStatus::Computed, ""},
        {"curve past BP", "1,0,0,5,0,5,100,10,1,2,0", RowStatus::Warning,
         "接線長TL（9.9999 m）がBP～IP間の距離（5.0000 m）より長く、BCがBPの外側に出ます。"},
        {"typed count unlike the chosen one", "1,0,0,100,100,0,200,10,1,2,0,7", RowStatus::Warning,
         "分割数 7 は条件から決まる 8 と違います。"},
        {"empty IP number", ",0,0,100,100,0,200,10,1,2,0", RowStatus::Refused, "IP番号 が空です。"},
        {"three points on a line", "1,0,0,100,0,200,0,10,1,2,0", RowStatus::Refused,
         "交角IAが0ﾟ 0' 0.00\"で、0ﾟ 1' 0.00\"未満です（3点がほぼ一直線に並び、曲線が入りません）。"},
        {"count beyond the largest", "1,0,0,100,100,0,200,10,1,2,0,1001", RowStatus::Refused,
         "分割数が1000を超えます。制限値・半径・分割数を見直してください。"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Table t{r.line};
        EXPECT_EQ(t.model.row(0).status, r.status);
        EXPECT_EQ(t.model.row(0).message, U(r.message));
        const bool shown = r.status != RowStatus::Refused;
        EXPECT_EQ(t.cell(0, CornerTableModel::ColN).isEmpty(), !shown);
    }
}

TEST(CornerTableModel, ARepeatedIpNumberRefusesTheLaterRowUntilItGoes)
{
    Table t{kGood, "2,0,0,100,100,0,200,10,1,2,0", "1,0,0,100,100,0,200,12,1,2,0"};
    EXPECT_EQ(t.model.row(2).status, RowStatus::Refused);
    EXPECT_EQ(t.model.row(2).message,
              U("IP番号「1」は 1 行目と同じです。IP番号は点名になるため、表の中で一つずつにしてください。"));
    t.model.removeRowsAt({0});
    EXPECT_EQ(t.model.row(1).status, RowStatus::Computed);
    EXPECT_NEAR(t.model.row(1).corner.el.TL, 12, 1e-6);
    t.model.undoStack()->undo();
    EXPECT_EQ(t.model.row(2).status, RowStatus::Refused);
    // Renaming the later one puts it right.
    EXPECT_EQ(t.model.setCell(2, CornerTableModel::ColIpNo, U("3")), QString());
    EXPECT_EQ(t.model.row(2).status, RowStatus::Computed);
}

TEST(CornerTableModel, RowsAddedDeletedAndMovedUndoInOrder)
{
    Table t{"a,0,0,100,100,0,200,10,1,2,0", "b,0,0,100,100,0,200,10,1,2,0", "c,0,0,100,100,0,200,10,1,2,0",
            "d,0,0,100,100,0,200,10,1,2,0"};
    auto order = [&] {
        QString s;
        for (int r = 0; r < t.model.rowCount(); ++r) s += t.cell(r, CornerTableModel::ColIpNo);
        return s;
    };
    EXPECT_TRUE(t.model.moveCornerRows(1, 2, -1));
    EXPECT_EQ(order(), U("bcad"));
    EXPECT_FALSE(t.model.moveCornerRows(0, 1, -1));  // already at the top
    EXPECT_TRUE(t.model.moveCornerRows(0, 0, 1));
    EXPECT_EQ(order(), U("cbad"));
    t.model.removeRowsAt({3, 0, 3});
    EXPECT_EQ(order(), U("ba"));
    t.model.insertCornerRows(1, {Cells("e,0,0,100,100,0,200,10,1,2,0")}, U("行の追加"));
    EXPECT_EQ(order(), U("bea"));
    for (const char* expected : {"ba", "cbad", "bcad", "abcd"}) {
        t.model.undoStack()->undo();
        EXPECT_EQ(order(), U(expected));
    }
    EXPECT_TRUE(t.model.undoStack()->isClean());
    while (t.model.undoStack()->canRedo()) t.model.undoStack()->redo();
    EXPECT_EQ(order(), U("bea"));
}

TEST(CornerTableModel, PastedBlocksAreTakenWholeOrRefusedWhole)
{
    const struct { const char* name; const char* text; int added; const char* refusal; } rows[] = {
        {"two rows, spreadsheet line ends", "5\t0\t0\t100\t100\t0\t200\t10\t1\t2\t0\r\n6\t0\t0\t100\t100\t0\t200\t10\t1\t2\t平行\t\tB\tI\tE\r\n", 2, ""},
        {"the header is skipped",
         "IP番号\tBP X\tBP Y\tIP X\tIP Y\tEP X\tEP Y\t半径\t内幅員\t外幅員\t計算方式\n5\t0\t0\t100\t100\t0\t200\t10\t1\t2\t0\n", 1, ""},
        {"too few columns", "5\t0\t0\t100\t100\t0\t200\t10\t1\t2\t0\n6\t0\t0\t100\n", 0,
         "貼り付けた 2 行目: 4 列あります。隅切り表の行は IP番号 から 計算方式 までの 11 列から、EP名 までの 15 列です。何も貼り付けていません。"},
        {"a cell the strict rule refuses", "5\t0\t0\t100\t100\t0\t200\t10 m\t1\t2\t0\n", 0,
         "貼り付けた 1 行目: 半径 が数値ではありません「10 m」。何も貼り付けていません。"},
        {"nothing", "\n\n", 0, "貼り付ける行がありません。"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        Table t;
        EXPECT_EQ(t.model.paste(U(r.text), 1), U(r.refusal));
        EXPECT_EQ(t.model.rowCount(), 1 + r.added);
        EXPECT_EQ(t.model.undoStack()->count(), r.added ? 1 : 0);
    }
}

TEST(CornerTableModel, CopiedRowsPasteBackAsTheyWere)
{
    Table t{"\"q\"1,1,2,100,100,0,200,10,1,2,1,6,B,I,E"};
    const QString text = RowsClipboardText(t.model.cellsOf({0}));
    EXPECT_EQ(text, U("\"\"\"q\"\"1\"\t1\t2\t100\t100\t0\t200\t10\t1\t2\t1\t6\tB\tI\tE\n"));
    EXPECT_EQ(t.model.paste(text, 1), QString());
    EXPECT_EQ(t.model.row(1).cells, t.model.row(0).cells);
}

TEST(CornerTableFile, SavedOpenedAndSavedAgainGivesTheSameBytes)
{
    QTemporaryDir dir;
    // Numbers as people type them, names in Japanese and with a comma, a refused line.
    const QByteArray typed = QString::fromUtf8(
        "IP番号,BP X,BP Y,IP X,IP Y,EP X,EP Y,半径,内幅員,外幅員,計算方式,分割数,BP名,IP名,EP名\n"
        "交1,\" 1,234.5 \",０,1334.500,100,1234.5,200,10.0,1,2,0,,街区1,\"IP,1\",E\n"
        "2,0.1,0.2,100.3,100.7,-0.000001,200,1e2,1,2,3,8\n"
        "3,0,0,100,100,0,200,10 m,1,2,0\n").toUtf8();
    const QString path = WriteIn(dir, QStringLiteral("typed.csv"), typed);
    TableFileRead read = ReadTableFile(path);
    ASSERT_EQ(read.error, QString());
    ASSERT_EQ(read.rows.size(), 3u);
    EXPECT_EQ(read.rows[2].cells[7], U("10 m"));  // a refused cell keeps its text

    auto bytesOf = [](const std::vector<TableRow>& rows) {
        std::vector<const RowCells*> cells;
        for (const TableRow& r : rows) cells.push_back(&r.cells);
        QString why;
        QByteArray b = TableFileBytes(cells, why);
        EXPECT_EQ(why, QString());
        return b;
    };
    const QByteArray first = bytesOf(read.rows);
    QByteArray expected;
    QString decoded;
    expected = "IP\x94\xd4\x8d\x86,BP X,BP Y,IP X,IP Y,EP X,EP Y,\x94\xbc\x8c\x61,\x93\xe0\x95\x9d\x88\xf5,"
               "\x8a\x4f\x95\x9d\x88\xf5,\x8c\x76\x8e\x5a\x95\xfb\x8e\xae,\x95\xaa\x8a\x84\x90\x94,BP\x96\xbc,IP\x96\xbc,EP\x96\xbc\r\n";
    ASSERT_TRUE(first.startsWith(expected));
    ASSERT_TRUE(DecodeCp932(first, decoded));
    EXPECT_EQ(decoded.section(QStringLiteral("\r\n"), 1),
              U("交1,1234.5,0,1334.5,100,1234.5,200,10,1,2,0,,街区1,\"IP,1\",E\r\n"
                "2,0.1,0.2,100.3,100.7,-1e-06,200,100,1,2,3,8,,,\r\n"
                "3,0,0,100,100,0,200,10 m,1,2,0,,,,\r\n"));

    const QString saved = WriteIn(dir, QStringLiteral("saved.csv"), first);
    TableFileRead again = ReadTableFile(saved);
    ASSERT_EQ(again.error, QString());
    EXPECT_EQ(bytesOf(again.rows), first);
    // Every value reads back as the same double.
    CornerTableModel a{DefaultSettings()}, b{DefaultSettings()};
    a.resetRows(std::move(read.rows));
    b.resetRows(std::move(again.rows));
    EXPECT_EQ(a.row(1).corner.in.EpX, -0.000001);
    EXPECT_EQ(b.row(1).corner.in.EpX, a.row(1).corner.in.EpX);
    EXPECT_EQ(b.row(0).corner.in.BpX, 1234.5);
}

TEST(CornerTableFile, RefusedLinesAreKeptAndAFileThatIsNoTableOpensNothing)
{
    QTemporaryDir dir;
    const struct { const char* name; const char* bytes; int rows; int refused; const char* error; } rows[] = {
        {"refused lines kept", "1,0,0,100,100,0,200,10,1,2,0\n2,0,0\n1,0,0,100,100,0,200,10,1,2,0\n3,0,\"x\n", 4, 3, ""},
        {"header only: an empty table", "IP番号,BP X,BP Y,IP X,IP Y,EP X,EP Y,半径,内幅員,外幅員,計算方式\r\n", 0, 0, ""},
        {"a point file", "1,A,10.5,20.25\n2,B,11,21\n", 0, 0,
         "隅切り表ではありません（IP番号 から 計算方式 までの 11 項目がそろった行が一つもありません）。"},
        {"empty file", "", 0, 0, "隅切りの行がありません。"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const QString path = WriteIn(dir, QStringLiteral("t.csv"), QByteArray(r.bytes));
        TableFileRead read = ReadTableFile(path);
        if (*r.error) {
            EXPECT_TRUE(read.error.endsWith(U(r.error))) << read.error.toStdString();
        }
        EXPECT_EQ(read.error.isEmpty(), !*r.error);
        CornerTableModel m{DefaultSettings()};
        m.resetRows(std::move(read.rows));
        EXPECT_EQ(m.rowCount(), r.rows);
        EXPECT_EQ(m.countOf(RowStatus::Refused), r.refused);
    }
    // A line that could not be split keeps its reason and stops a save rather than be lost.
    TableFileRead read = ReadTableFile(WriteIn(dir, QStringLiteral("q.csv"), "1,0,0,100,100,0,200,10,1,2,0\n3,0,\"x\n"));
    ASSERT_EQ(read.rows.size(), 2u);
    EXPECT_FALSE(read.rows[1].lineError.isEmpty());
}

TEST(CornerTableModel, RefusesWhatTheBatchRunRefusesAndComputesWhatItComputes)
{
    QTemporaryDir dir;
    const QString path = WriteIn(dir, QStringLiteral("t.csv"),
                                 "1,0,0,100,100,0,200,10,1,2,0\n"
                                 "2,0,0,100,100,0,200,10,1,2,3,2.5\n"
                                 "3,0,0,100,0,200,0,10,1,2,1\n"
                                 "4,0,0,100,100,0,200,-10,1,2,2,0\n"
                                 "5,0,0,5,5,5,100,10,1,2,1,3\n"
                                 "1,0,0,100,100,0,200,10,1,2,0\n"
                                 "6,0,0,100,100,0,200,10,x,2,0\n");
    TableFileRead read = ReadTableFile(path);
    CornerTableModel m{DefaultSettings()};
    m.resetRows(std::move(read.rows));

    std::map<int, QString> batchRefused;
    BatchCallbacks cb;
    cb.refused = [&](const BatchRefusal& r) { batchRefused[r.line] = r.reason; };
    BatchOutputs out;
    out.sima = dir.filePath(QStringLiteral("points.sim"));  // the sheets are composed for it
    RunBatch(path, DefaultSettings(), out, cb);
    ASSERT_GE(batchRefused.size(), 3u);
    for (int r = 0; r < m.rowCount(); ++r) {
        SCOPED_TRACE(r + 1);
        const auto it = batchRefused.find(r + 1);
        if (it != batchRefused.end()) {
            EXPECT_EQ(m.row(r).status, RowStatus::Refused);
            EXPECT_EQ(m.row(r).message, it->second);
        } else {
            EXPECT_NE(m.row(r).status, RowStatus::Refused) << "the table refuses what the batch refuses, no more";
        }
    }
    // And the elements of the computed rows are the trial's.
    for (int r : {0, 4}) {
        CornerElements el;
        ASSERT_EQ(TrialCalculation(m.row(r).corner.in, DefaultSettings(), el), QString());
        EXPECT_EQ(m.row(r).corner.el.TL, el.TL);
        EXPECT_EQ(m.row(r).corner.el.DivCount, el.DivCount);
    }
}

}  // namespace
}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
// End to end: the built tovanel-cli as a script would run it — its output, the sheets it writes
// and its exit statuses.

#include "print/fonts.h"
#include "support/commalocale.h"
#include "support/files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>
#include <functional>

namespace {

struct Result {
    int status = -1;
    QString out, err;
    QByteArray bytes;  ///< standard output as it came
};

Result Exec(const QString& program, const QStringList& args, const std::function<void(QProcess&)>& setUp = {})
{
    QProcess p;
    if (setUp) setUp(p);
    p.start(program, args);
    if (!p.waitForFinished(60000)) p.kill();
    const QByteArray out = p.readAllStandardOutput();
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(out),
            QString::fromUtf8(p.readAllStandardError()), out};
}

const QStringList kCorner = {"--bp", "0,0", "--ip", "100,100", "--ep", "0,200", "--radius", "100"};

Result Cli(const QStringList& extra) { return Exec(QStringLiteral(TOVANEL_CLI), kCorner + extra); }

// A settings file with the given middle-ordinate and LP limits and line 16 (exact azimuths).
QString Settings(QTemporaryDir& dir, const char* limitM, const char* limitLP, const char* line16 = "")
{
    const QString path = dir.filePath(QStringLiteral("F%1-%2-%3.INI").arg(limitM, limitLP, line16));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray("4\r\n3\r\n") + limitM + "\r\n" + limitLP +
            "\r\n0.01\r\n0\r\n0\r\n0\r\n0\r\n0\r\n\"C\"\r\n\"I\"\r\n\"O\"\r\n\"0\"\r\n\"2\"\r\n\"" + line16 +
            "\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
    return path;
}

TEST(Cli, ElementsAndListingOfTheWorkedExample)
{
    QTemporaryDir dir;
    const Result e = Cli({"--settings", Settings(dir, "0.5", "20"), "--elements"});
    ASSERT_EQ(e.status, 0) << e.err.toStdString();
    for (const char* line : {"\nDivCount=8\n", "\nTurnSign=1\n", "\nIA=89.99999999", "\nSpY=99.9989"})
        EXPECT_TRUE(e.out.contains(line)) << line;
    EXPECT_EQ(e.out.count('\n'), 28);

    const Result l = Cli({"--settings", Settings(dir, "0.5", "19"), "--divisions", "8", "--ip-number", "7", "--listing"});
    ASSERT_EQ(l.status, 0) << l.err.toStdString();
    EXPECT_TRUE(l.out.startsWith(QStringLiteral("20\t10\t0\t** 設定曲線試算 **\n50\t80\t0\tIPNO.7\n")));
    EXPECT_TRUE(l.out.contains(QStringLiteral("\n310\t700\t255\t   19.6350\n")));
    EXPECT_FALSE(l.out.contains("DivCount=")) << "only what was asked for";
}

// The textbook corner (BP→IP due north, IA 30°50'42", R 300) with and without exact azimuths,
// taken from line 16 of the settings file.
TEST(Cli, ExactAzimuthsFromTheSettingsFile)
{
    QTemporaryDir dir;
    const QStringList corner = {"--bp", "0,0", "--ip", "200,0", "--ep", "371.71149490430975,102.54346647996258",
                                "--radius", "300", "--listing"};
    const char* const lines[][2] = {{"", "30ﾟ50'39.93\"\t   TL=   82.7589\t   CL=  161.5010\t   SL=   11.2058"},
                                    {"1", "30ﾟ50'42.00\"\t   TL=   82.7605\t   CL=  161.5040\t   SL=   11.2062"}};
    for (const auto& [line16, expected] : lines) {
        const Result r = Exec(QStringLiteral(TOVANEL_CLI), corner + QStringList{"--settings", Settings(dir, "0.5", "20", line16)});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        QStringList got;  // the texts of the IA, TL, CL and SL lines
        for (const QString& l : r.out.split('\n').mid(6, 4)) got << l.section('\t', 3);
        EXPECT_EQ(got.join('\t'), "   IA=  " + QString::fromUtf8(expected)) << "line 16: " << line16;
    }
}

TEST(Cli, ExitStatusesWithOneLineOfReason)
{
    QTemporaryDir dir;
    const struct { const char* name; QStringList args; int status; } cases[] = {
        {"unknown option", {"--frobnicate"}, 2},
        {"value missing", {"--divisions"}, 2},
        {"bad paper", {"--paper", "A5", "--export", "-"}, 2},
        {"unwritable PDF", {"--type", "0", "--pdf", "/no/such/folder/x.pdf"}, 2},
        {"zero limit", {"--settings", Settings(dir, "0", "20")}, 3},
        {"negative count", {"--divisions", "-3"}, 3},
        {"no type", {"--type", "7", "--export", "-"}, 3},
        {"fractional count", {"--divisions", "2.5", "--export", "-"}, 3},
        {"too many divisions", {"--divisions", "1001", "--export", "-"}, 3},
        {"zero limit with a given count", {"--settings", Settings(dir, "0", "20"), "--divisions", "4"}, 0},
        {"PDF on a full disk", {"--type", "0", "--pdf", "/dev/full"}, 2},
        {"points on a full disk", {"--type", "0", "--export", "/dev/full"}, 2},
        {"TAB in the IP number", {"--ip-number", "7\t8", "--type", "0", "--export", "-"}, 2},
        {"outer radius overflows", {"--radius", "1e308", "--outer", "1e308", "--divisions", "8", "--listing"}, 3},
        {"count too small to divide by", {"--divisions", "1e-320", "--listing"}, 3},
    };
    for (const auto& c : cases) {
        const Result r = Cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err.toStdString();
        if (c.status != 0) {
            EXPECT_EQ(r.err.count('\n'), 1) << c.name << ": one line of reason";
            EXPECT_TRUE(r.out.isEmpty()) << c.name;
        }
    }
    EXPECT_EQ(Exec(QStringLiteral(TOVANEL_CLI), {"--bp", "0,0", "--radius", "5"}).status, 2) << "missing points";
    EXPECT_EQ(Exec(QStringLiteral(TOVANEL_CLI), {"--version"}).status, 0);
}

TEST(Cli, ExportTextAndPdfOfTheSheets)
{
    const QStringList sheet = {"--inner", "3", "--outer", "3", "--ip-number", "12", "--type", "1", "--divisions", "8"};
    const Result r = Cli(sheet + QStringList{"--export", "-"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count("\r\n"), 4 + 9 + 9 + 10) << "centre and inner N + 1, outer polygon N + 2";

    QTemporaryDir dir;
    const QString file = dir.filePath("points.txt"), pdf = dir.filePath("sheets.pdf");
    ASSERT_EQ(Cli(sheet + QStringList{"--export", file, "--pdf", pdf}).status, 0);
    QFile in(file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly) && QString::fromUtf8(in.readAll()) == r.out) << "the same text in the file";
    if (!tovanel::SheetFontAvailable() || QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "reading the PDF needs IPAMincho and poppler-utils";
    const QString text = Exec("pdftotext", {"-layout", pdf, "-"}).out;
    for (const char* expected : {"Tovanel", "役杭略図縮尺 S=1/", "街 区 点 曲 線 計 算 書", "12CBC", "12OEC", "[ 型 千鳥方式 ]"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(text.count('\f'), 4) << "the elements sheet and a page for each kind";
    EXPECT_TRUE(Exec("pdffonts", {pdf}).out.contains("IPAMincho"));
}


using tovanel::test::ReadAll;
using tovanel::test::WriteAll;

TEST(Cli, PointFilesOutAndBackIn)
{
    QTemporaryDir dir;
    const QStringList sheet = {"--inner", "2", "--outer", "3", "--ip-number", "7", "--type", "3", "--divisions", "4"};
    const QString sim = dir.filePath("c.sim"), csv = dir.filePath("c.csv"), dxf = dir.filePath("c.dxf");
    const Result r = Cli(sheet + QStringList{"--sima", sim, "--csv", csv, "--dxf", dxf, "--export", "-"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const qsizetype points = r.out.count("\r\n");
    EXPECT_EQ(ReadAll(sim).count("\r\nA01,"), points);
    EXPECT_EQ(ReadAll(csv).count("\r\n"), points + 1) << "and the header";
    EXPECT_TRUE(ReadAll(dxf).endsWith("EOF\n"));
    EXPECT_EQ(Cli(sheet + QStringList{"--sima", "-"}).bytes, ReadAll(sim)) << "standard output as the file";

    // The corner recomputed from points taken by name out of each of the program's own files
    // equals the corner given by the same three-decimal coordinates.
    std::map<QString, QString> xy;
    for (const QString& line : QString::fromLatin1(ReadAll(csv)).split(QStringLiteral("\r\n")))
        xy[line.section(',', 1, 1)] = line.section(',', 2, 3);
    const QStringList given = {xy["7CBC"], xy["M 7"], xy["7OEC"]};
    ASSERT_FALSE(given.contains(QString()));
    const Result direct = Exec(QStringLiteral(TOVANEL_CLI), {"--bp", given[0], "--ip", given[1], "--ep", given[2],
                                                           "--radius", "30", "--elements"});
    ASSERT_EQ(direct.status, 0);
    for (const QString& file : {sim, csv}) {
        const Result back = Exec(QStringLiteral(TOVANEL_CLI), {"--points", file, "--bp-name", "7CBC", "--ip-name", "M 7",
                                                             "--ep-name", "7OEC", "--radius", "30", "--elements"});
        ASSERT_EQ(back.status, 0) << back.err.toStdString();
        EXPECT_EQ(back.out, direct.out) << file.toStdString();
    }
}

TEST(Cli, PointFileRefusalsLeaveEveryFileAsItWas)
{
    QTemporaryDir dir;
    const QString pts = dir.filePath("p.csv"), keep = dir.filePath("keep.sim");
    WriteAll(pts, "1,BP,0,0\r\n2,IP,100,100\r\n3,EP,0,200\r\n4,EP,1,1\r\n5,X,abc,1\r\n");
    WriteAll(keep, "previous");
    const QStringList names = {"--points", pts, "--bp-name", "BP", "--ip-name", "IP", "--ep-name", "EP"};
    const QStringList corner = {"--bp", "0,0", "--ip", "100,100", "--ep", "0,200"};
    const struct { const char* name; QStringList args; int status; const char* says; } cases[] = {
        {"missing file", {"--points", dir.filePath("none.sim"), "--bp-name", "a", "--ip-name", "b", "--ep-name", "c"}, 2, "none.sim"},
        {"bad line", names, 2, "5 行目"},
        {"--points with --bp", names + QStringList{"--bp", "0,0"}, 2, "--bp"},
        {"--bp-name alone", corner + QStringList{"--bp-name", "BP"}, 2, "--points"},
        {"two outputs to stdout", corner + QStringList{"--sima", "-", "--csv", "-"}, 2, "standard output"},
        {"unwritable output", corner + QStringList{"--csv", dir.filePath("no/x.csv")}, 2, "x.csv"},
        {"name SIMA cannot hold", corner + QStringList{"--ip-number", "1,2", "--csv", keep + ".csv", "--sima", keep}, 3, "カンマ"},
    };
    for (const auto& c : cases) {
        const Result r = Exec(QStringLiteral(TOVANEL_CLI), c.args + QStringList{"--radius", "10"});
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.says))) << c.name << ": " << r.err.toStdString();
        EXPECT_EQ(ReadAll(keep), "previous") << c.name;
        EXPECT_FALSE(QFile::exists(keep + ".csv")) << c.name << ": nothing written before the refusal";
    }
    WriteAll(pts, "1,BP,0,0\r\n2,IP,100,100\r\n3,EP,0,200\r\n4,EP,1,1\r\n");
    const Result twice = Exec(QStringLiteral(TOVANEL_CLI), names + QStringList{"--radius", "10"});
    EXPECT_EQ(twice.status, 2);
    EXPECT_TRUE(twice.err.contains(QStringLiteral("「EP」が 2 点あります（3, 4 行目）"))) << twice.err.toStdString();
    const Result absent = Exec(QStringLiteral(TOVANEL_CLI), names.mid(0, 7) + QStringList{"ep", "--radius", "10"});
    EXPECT_TRUE(absent.status == 2 && absent.err.contains(QStringLiteral("「ep」がありません")));
}

TEST(Cli, WritesThatFailAreReportedAndLeaveThePreviousFile)
{
    const Result full = Exec(QStringLiteral(TOVANEL_CLI), kCorner + QStringList{"--elements"},
                             [](QProcess& p) { p.setStandardOutputFile("/dev/full"); });
    EXPECT_EQ(full.status, 2) << "standard output on a full disk";
    EXPECT_TRUE(full.err.contains(QStringLiteral("ディスクの空き容量が足りません"))) << full.err.toStdString();

    // Files may not grow beyond 4 KB: the sheets do not fit, and the reason is named.
    QTemporaryDir dir;
    const QString pdf = dir.filePath("sheets.pdf");
    if (QFile f(pdf); f.open(QIODevice::WriteOnly)) f.write("previous");
    const Result limited = Exec("/bin/sh", QStringList{"-c", "ulimit -f 8; exec \"$0\" \"$@\"", TOVANEL_CLI} + kCorner +
                                               QStringList{"--type", "0", "--pdf", pdf});
    EXPECT_EQ(limited.status, 2) << "ended by the signal instead of reporting";
    EXPECT_TRUE(limited.err.contains(QStringLiteral("ファイルが大きすぎます"))) << limited.err.toStdString();
    QFile kept(pdf);
    EXPECT_TRUE(kept.open(QIODevice::ReadOnly) && kept.readAll() == "previous");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary file left";

    QElapsedTimer clock;
    clock.start();
    const Result zero = Cli({"--settings", "/dev/zero"});
    EXPECT_EQ(zero.status, 0) << "the defaults, after saying why";
    EXPECT_TRUE(zero.err.contains(QStringLiteral("大きすぎます"))) << zero.err.toStdString();
    EXPECT_LT(clock.elapsed(), 20000) << "a bounded read";
}

TEST(Cli, NumbersReadAndPrintTheSameInACommaLocale)
{
    QTemporaryDir dir;
    if (const QString why = tovanel::test::MakeCommaLocale(dir.path()); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    const QStringList args = {"--radius", "50.25", "--inner", "1.5", "--divisions", "8", "--elements", "--listing"};
    const Result plain = Cli(args);
    const Result comma = Exec(QStringLiteral(TOVANEL_CLI), kCorner + args, [&](QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LOCPATH", dir.path());
        env.insert("LC_ALL", tovanel::test::kCommaLocale);
        p.setProcessEnvironment(env);
    });
    ASSERT_EQ(plain.status, 0);
    EXPECT_TRUE(plain.out.contains("    R=    50.250"));
    EXPECT_EQ(comma.out, plain.out);
    EXPECT_EQ(comma.err, plain.err);
}

TEST(Cli, BatchOfACornerTable)
{
    QTemporaryDir dir;
    const QString table = dir.filePath("block.csv");
    WriteAll(table, "IP,BPX,BPY,IPX,IPY,EPX,EPY,R,Wi,Wo,T,N\r\n7,0,0,100,100,0,200,100,3,3,1,\r\n8,0,0,100\r\n"
                    "9,0,0,100,100,0,200,100,3,3,2,1001\r\n");
    const Result r = Exec(QStringLiteral(TOVANEL_CLI), {"--batch", table});
    EXPECT_EQ(r.status, 3) << "a line was refused";
    const QStringList out = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), 2) << "elements to standard output when nothing else is asked for";
    EXPECT_TRUE(out[0].startsWith("IPNo,AzIn,AzOut,IA,"));
    // The corner's elements are those of the single-corner command, digit for digit.
    const Result single = Cli({"--inner", "3", "--outer", "3", "--elements"});
    QStringList values;
    for (const QString& line : single.out.split('\n', Qt::SkipEmptyParts)) values << line.section('=', 1);
    EXPECT_EQ(out[1], "7," + values.join(','));
    const QStringList err = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(err.size(), 3) << r.err.toStdString();
    EXPECT_TRUE(err[0].startsWith(QStringLiteral("tovanel-cli: block.csv の 3 行目: 項目が")));
    EXPECT_EQ(err[2], QStringLiteral("tovanel-cli: 1 箇所の隅切りを計算しました。計算できなかった行が 2 行あります。"));

    const QString good = dir.filePath("good.csv");
    WriteAll(good, "7,0,0,100,100,0,200,100,3,3,1,\n");
    const struct { const char* name; QStringList args; int status; } cases[] = {
        {"all computed", {"--batch", good, "--sima", dir.filePath("g.sim"), "--pdf", dir.filePath("g.pdf")}, 0},
        {"no table", {"--batch", dir.filePath("none.csv")}, 2},
        {"a corner option too", {"--batch", good, "--radius", "5"}, 2},
        {"two outputs to stdout", {"--batch", good, "--sima", "-", "--elements", "-"}, 2},
        {"unwritable output", {"--batch", good, "--dxf", dir.filePath("no/g.dxf")}, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Exec(QStringLiteral(TOVANEL_CLI), c.args).status, c.status) << c.name;
    EXPECT_TRUE(ReadAll(dir.filePath("g.sim")).startsWith("G00,01,good,\r\n"));
    EXPECT_FALSE(QFile::exists(dir.filePath("no"))) << "nothing of a failed run";
}

}  // namespace

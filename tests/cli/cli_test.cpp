// SPDX-License-Identifier: GPL-3.0-or-later
// End to end: the built tovanel-cli as a script would run it — its options, the files it writes and
// its exit statuses with their reasons. What it writes is checked byte for byte by the unit tests.

#include "print/fonts.h"
#include "support/commalocale.h"
#include "support/files.h"
#include "support/run.h"

#include <QDir>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <map>
#include <sys/resource.h>

namespace {

using namespace tovanel::test;

const QString kCli = QStringLiteral(TOVANEL_CLI);
const QStringList kCorner = {"--bp", "0,0", "--ip", "100,100", "--ep", "0,200", "--radius", "100"};

/// The arguments of the corner above with `extra`.
QStringList Corner(const QStringList& extra) { return kCorner + extra; }
Ran Cli(const QStringList& extra) { return Launch(kCli, Corner(extra)); }

// A settings file with the given middle-ordinate and LP limits and line 16 (exact azimuths).
QString Settings(QTemporaryDir& dir, const char* limitM, const char* limitLP, const char* line16 = "")
{
    return WriteIn(dir, QStringLiteral("F%1-%2-%3.INI").arg(limitM, limitLP, line16),
                   QByteArray("4\r\n3\r\n") + limitM + "\r\n" + limitLP +
                       "\r\n0.01\r\n0\r\n0\r\n0\r\n0\r\n0\r\n\"C\"\r\n\"I\"\r\n\"O\"\r\n\"0\"\r\n\"2\"\r\n\"" + line16 +
                       "\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
}

// What a run says: on standard output when it succeeds, else one line on standard error, and no
// file is written when it is refused or a write fails.
TEST(Cli, ExitStatusesAndWhatTheySay)
{
    QTemporaryDir dir;
    const QString keep = WriteIn(dir, "keep.sim", "previous");
    const QString bad = WriteIn(dir, "bad.csv", "1,BP,0,0\r\n2,IP,100,100\r\n3,EP,0,200\r\n4,X,abc,1\r\n");
    const QString twice = WriteIn(dir, "twice.csv", "1,BP,0,0\r\n2,IP,100,100\r\n3,EP,0,200\r\n4,EP,1,1\r\n");
    const QString table = WriteIn(dir, "good.csv", "7,0,0,100,100,0,200,100,3,3,1,\n");
    const auto names = [](const QString& file, const char* ep) {
        return QStringList{"--points", file, "--bp-name", "BP", "--ip-name", "IP", "--ep-name", ep, "--radius", "10"};
    };
    // Files may not grow beyond 4 KB: the sheets do not fit. A run ended by the signal has no status.
    const auto fileLimit = [](QProcess& p) {
        p.setChildProcessModifier([] { const rlimit r{4096, 4096}; setrlimit(RLIMIT_FSIZE, &r); });
    };
    const struct { const char* name; QStringList args; int status; const char* says; std::function<void(QProcess&)> setUp = {}; } cases[] = {
        {"elements: guarded azimuths, the count from the limits", Corner({"--settings", Settings(dir, "0.5", "20")}), 0,
         "\nDivCount=8\nIaPerDiv=11.24999999"},
        {"zero limit with a given count", Corner({"--settings", Settings(dir, "0", "20"), "--divisions", "4"}), 0, "\nDivCount=4\n"},
        {"settings file too large", Corner({"--settings", "/dev/zero"}), 0, "大きすぎます"},
        {"version", {"--version"}, 0, "tovanel-cli "},
        {"unknown option", Corner({"--frobnicate"}), 2, "--frobnicate"},
        {"value missing", Corner({"--divisions"}), 2, "--divisions needs a value"},
        {"missing points", {"--bp", "0,0", "--radius", "5"}, 2, "--ip"},
        {"bad paper", Corner({"--paper", "A5", "--export", "-"}), 2, "--paper"},
        {"unwritable PDF", Corner({"--type", "0", "--pdf", "/no/such/folder/x.pdf"}), 2, "フォルダがありません"},
        {"PDF on a full disk", Corner({"--type", "0", "--pdf", "/dev/full"}), 2, "ディスクの空き容量"},
        {"points on a full disk", Corner({"--type", "0", "--export", "/dev/full"}), 2, "ディスクの空き容量"},
        {"standard output on a full disk", Corner({"--elements"}), 2, "ディスクの空き容量が足りません",
         [](QProcess& p) { p.setStandardOutputFile("/dev/full"); }},
        {"sheets beyond the file size limit", Corner({"--type", "0", "--pdf", keep}), 2, "ファイルが大きすぎます", fileLimit},
        {"TAB in the IP number", Corner({"--ip-number", "7\t8", "--type", "0", "--export", "-"}), 2, "TAB"},
        {"two outputs to stdout", Corner({"--sima", "-", "--csv", "-"}), 2, "standard output"},
        {"zero limit", Corner({"--settings", Settings(dir, "0", "20")}), 3, "０以下"},
        {"no type", Corner({"--type", "7", "--export", "-"}), 3, "計算方式が選択されていません"},
        {"too many divisions", Corner({"--divisions", "1001", "--export", "-"}), 3, "1000を超えます"},
        {"outer radius overflows", Corner({"--radius", "1e308", "--outer", "1e308", "--divisions", "8", "--listing"}), 3, "大きすぎて"},
        {"count too small to divide by", Corner({"--divisions", "1e-320", "--listing"}), 3, "大きすぎて"},
        {"no point file", names(dir.filePath("none.sim"), "EP"), 2, "none.sim: 開けません（ファイルがありません）"},
        {"bad point line", names(bad, "EP"), 2, "4 行目"},
        {"name held twice", names(twice, "EP"), 2, "「EP」が 2 点あります（3, 4 行目）"},
        {"name not held", names(twice, "ep"), 2, "「ep」がありません"},
        {"--points with --bp", names(twice, "EP") + QStringList{"--bp", "0,0"}, 2, "--points replaces --bp"},
        {"--bp-name alone", Corner({"--bp-name", "BP"}), 2, "--bp-name needs --points"},
        {"unwritable point file", Corner({"--csv", dir.filePath("no/x.csv")}), 2, "x.csv: フォルダがありません"},
        {"name SIMA cannot hold", Corner({"--ip-number", "1,2", "--csv", keep + ".csv", "--sima", keep}), 3, "カンマ"},
        {"no table", {"--batch", dir.filePath("none.csv")}, 2, "開けません（ファイルがありません）"},
        {"a corner option with a table", {"--batch", table, "--radius", "5"}, 2, "--radius cannot be used with --batch"},
    };
    for (const auto& c : cases) {
        const Ran r = Launch(kCli, c.args, c.setUp);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err.toStdString();
        EXPECT_TRUE((c.status ? r.err : r.out + r.err).contains(QString::fromUtf8(c.says))) << c.name << ": " << r.err.toStdString();
        if (c.status != 0) {
            EXPECT_TRUE(r.err.count('\n') == 1 && r.out.isEmpty()) << c.name << ": one line of reason";
        }
        EXPECT_EQ(ReadAll(keep), "previous") << c.name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 6)
        << "nothing written by a refused or failed run, no temporary file left";
}

// The textbook corner (BP→IP due north, IA 30°50'42", R 300) with exact azimuths from line 16
// of the settings file: the guarded azimuths would give IA 30°50'39.93", TL 82.7589, CL 161.5010.
TEST(Cli, ListingAndExactAzimuthsFromTheSettingsFile)
{
    QTemporaryDir dir;
    const Ran r = Launch(kCli, {"--bp", "0,0", "--ip", "200,0", "--ep", "371.71149490430975,102.54346647996258", "--radius",
                                "300", "--ip-number", "7", "--divisions", "8", "--listing", "--settings", Settings(dir, "0.5", "20", "1")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("20\t10\t0\t** 設定曲線試算 **\n50\t80\t0\tIPNO.7\n400\t80\t0\t分割数= 8\n")));
    EXPECT_FALSE(r.out.contains("DivCount=")) << "only what was asked for";
    QStringList got;  // the texts of the IA, TL, CL and SL lines
    for (const QString& t : r.out.split('\n').mid(6, 4)) got << t.section('\t', 3);
    EXPECT_EQ(got.join('\t'), QStringLiteral("   IA=  30ﾟ50'42.00\"\t   TL=   82.7605\t   CL=  161.5040\t   SL=   11.2062"));
}

// Every output of one corner at once, and the corner recomputed from the points taken by name out
// of each of the program's own point files equals the corner given by the same coordinates.
TEST(Cli, OutputsOfACornerAndItsPointsBackIn)
{
    QTemporaryDir dir;
    const QStringList sheet = {"--inner", "2", "--outer", "3", "--ip-number", "7", "--type", "3", "--divisions", "4"};
    const QString sim = dir.filePath("c.sim"), csv = dir.filePath("c.csv"), dxf = dir.filePath("c.dxf"),
                  text = dir.filePath("c.txt"), pdf = dir.filePath("c.pdf");
    const Ran r = Cli(sheet + QStringList{"--sima", sim, "--csv", csv, "--dxf", dxf, "--export", text, "--pdf", pdf});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QByteArray exported = ReadAll(text);  // BC, four stakes and EC on each curve
    EXPECT_EQ(QList({exported.count("\r\n"), ReadAll(sim).count("\r\nA01,"), ReadAll(csv).count("\r\n")}),
              QList<qsizetype>({22, 22, 23}));
    EXPECT_TRUE(ReadAll(dxf).endsWith("EOF\n"));
    EXPECT_EQ(Cli(sheet + QStringList{"--sima", "-"}).bytes, ReadAll(sim)) << "standard output as the file";
    EXPECT_EQ(Cli(sheet + QStringList{"--export", "-"}).bytes, exported);

    std::map<QString, QString> xy;
    for (const QString& line : QString::fromLatin1(ReadAll(csv)).split(QStringLiteral("\r\n")))
        xy[line.section(',', 1, 1)] = line.section(',', 2, 3);
    const QStringList given = {xy["7CBC"], xy["M 7"], xy["7OEC"]};
    ASSERT_FALSE(given.contains(QString()));
    const QStringList radius = {"--radius", "30", "--elements"};
    const Ran direct = Launch(kCli, QStringList{"--bp", given[0], "--ip", given[1], "--ep", given[2]} + radius);
    ASSERT_EQ(direct.status, 0);
    for (const QString& file : {sim, csv}) {
        const Ran back = Launch(kCli, QStringList{"--points", file, "--bp-name", "7CBC", "--ip-name", "M 7", "--ep-name", "7OEC"} + radius);
        ASSERT_EQ(back.status, 0) << back.err.toStdString();
        EXPECT_EQ(back.out, direct.out) << file.toStdString();
    }

    if (!tovanel::SheetFontAvailable() || QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "reading the PDF needs IPAMincho and poppler-utils";
    EXPECT_TRUE(Launch("pdftotext", {"-layout", pdf, "-"}).out.contains(QStringLiteral("[ 型 等曲率半径方式 ]")));
    EXPECT_TRUE(Launch("pdffonts", {pdf}).out.contains("IPAMincho"));
}

TEST(Cli, NumbersReadAndPrintTheSameInACommaLocale)
{
    QTemporaryDir dir;
    if (const QString why = MakeCommaLocale(dir.path()); !why.isEmpty()) GTEST_SKIP() << why.toStdString();
    const QStringList args = {"--radius", "50.25", "--inner", "1.5", "--divisions", "8", "--elements", "--listing"};
    const Ran plain = Cli(args);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LOCPATH", dir.path());
    env.insert("LC_ALL", kCommaLocale);
    const Ran comma = Launch(kCli, kCorner + args, [&](QProcess& p) { p.setProcessEnvironment(env); });
    ASSERT_EQ(plain.status, 0);
    EXPECT_TRUE(plain.out.contains("    R=    50.250"));
    EXPECT_EQ(comma.out, plain.out);
    EXPECT_EQ(comma.err, plain.err);
}

TEST(Cli, BatchOfACornerTable)
{
    QTemporaryDir dir;
    const QString table = WriteIn(dir, "block.csv", "IP,BPX,BPY,IPX,IPY,EPX,EPY,R,Wi,Wo,T,N\r\n7,0,0,100,100,0,200,100,3,3,1,\r\n"
                                                    "8,0,0,100\r\n9,0,0,100,100,0,200,100,3,3,2,1001\r\n");
    const Ran r = Launch(kCli, {"--batch", table});
    EXPECT_EQ(r.status, 3) << "a line was refused";
    const QStringList out = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(out.size(), 2) << "elements to standard output when nothing else is asked for";
    EXPECT_TRUE(out[0].startsWith("IPNo,AzIn,AzOut,IA,") && out[1].startsWith("7,"));
    const QStringList err = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(err.size(), 3) << r.err.toStdString();
    EXPECT_TRUE(err[0].startsWith(QStringLiteral("tovanel-cli: block.csv の 3 行目: 項目が")));
    EXPECT_TRUE(err[1].startsWith(QStringLiteral("tovanel-cli: block.csv の 4 行目: 分割数が1000を超えます")));
    EXPECT_EQ(err[2], QStringLiteral("tovanel-cli: 1 箇所の隅切りを計算しました。計算できなかった行が 2 行あります。"));

    const QStringList outputs = {"--sima", dir.filePath("b.sim"), "--pdf", dir.filePath("b.pdf")};
    EXPECT_EQ(Launch(kCli, QStringList{"--batch", table} + outputs).status, 3);
    EXPECT_TRUE(ReadAll(dir.filePath("b.sim")).startsWith("G00,01,block,\r\n"));
    EXPECT_TRUE(ReadAll(dir.filePath("b.pdf")).startsWith("%PDF"));
    const Ran failed = Launch(kCli, QStringList{"--batch", table, "--dxf", dir.filePath("no/g.dxf")} + outputs);
    EXPECT_EQ(failed.status, 2);
    EXPECT_TRUE(failed.err.contains(QStringLiteral("g.dxf に書けません"))) << failed.err.toStdString();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3) << "nothing of a failed run";
}

// The sheet font is recognised whatever the locale calls it: fontconfig names IPAMincho 「IPA明朝」
// under a Japanese locale, the locale of every user. A locale the system lacks is left out.
TEST(Cli, RecognisesTheSheetFontInEveryLocale)
{
    if (!tovanel::SheetFontAvailable()) GTEST_SKIP() << "IPAMincho is not installed";
    const QString locales = Launch("locale", {"-a"}).out;
    QTemporaryDir dir;
    const struct { const char* lang; const char* available; } cases[] = {
        {"C.UTF-8", "C.utf8"}, {"ja_JP.UTF-8", "ja_JP.utf8"}, {"en_US.UTF-8", "en_US.utf8"},
    };
    int tried = 0;
    for (const auto& c : cases) {
        if (!locales.split('\n').contains(QString::fromLatin1(c.available))) continue;
        ++tried;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("LANG", c.lang);
        env.insert("LC_ALL", c.lang);
        const Ran r = Launch(kCli, Corner({"--type", "0", "--pdf", dir.filePath("s.pdf")}), [&](QProcess& p) { p.setProcessEnvironment(env); });
        EXPECT_EQ(r.status, 0) << c.lang;
        EXPECT_FALSE(r.err.contains("IPAMincho")) << c.lang << ": " << r.err.toStdString();
    }
    if (!locales.contains("ja_JP.utf8")) GTEST_SKIP() << "no ja_JP.UTF-8 locale (scripts/deps.sh test makes it)";
    EXPECT_GE(tried, 2);
}

}  // namespace

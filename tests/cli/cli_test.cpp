// SPDX-License-Identifier: GPL-3.0-or-later
// End to end: the built tovanel-cli as a script runs it; its bytes are checked by the unit tests.

#include "print/fonts.h"
#include "support/commalocale.h"
#include "support/files.h"
#include "support/run.h"

#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QThread>
#include <QRegularExpression>
#include <QScopeGuard>
#include <gtest/gtest.h>
#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <map>
#include <sys/resource.h>
#include <unistd.h>

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

/// Whether the text holds Japanese (a character from the CJK blocks or the full-width forms).
bool Japanese(const QString& text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() >= 0x3000; });
}

// Success speaks on standard output; a refusal is one Japanese line on standard error, no file.
TEST(Cli, ExitStatusesAndWhatTheySay)
{
    QTemporaryDir dir;
    const QString keep = WriteIn(dir, "keep.sim", "previous");
    const QString twice = WriteIn(dir, "twice.csv", "1,BP,0,0\r\n2,IP,100,100\r\n3,EP,0,200\r\n4,EP,1,1\r\n");
    const QString table = WriteIn(dir, "good.csv", "7,0,0,100,100,0,200,100,3,3,1,\n");
    const QString settings = Settings(dir, "0.5", "20");
    QFile::link(table, dir.filePath("table-link.csv"));
    const auto names = [](const QString& file, const char* ep) {
        return QStringList{"--points", file, "--bp-name", "BP", "--ip-name", "IP", "--ep-name", ep, "--radius", "10"};
    };
    // Files may not grow beyond 4 KB: the sheets do not fit. A run ended by the signal has no status.
    const auto fileLimit = [](QProcess& p) {
        p.setChildProcessModifier([] { const rlimit r{4096, 4096}; setrlimit(RLIMIT_FSIZE, &r); });
    };
    const QStringList noRadius = kCorner.mid(0, 6);
    const struct { const char* name; QStringList args; int status; const char* says; std::function<void(QProcess&)> setUp = {}; } cases[] = {
        {"elements: guarded azimuths, the count from the limits", Corner({"--settings", settings}), 0,
         "\nDivCount=8\nIaPerDiv=11.24999999"},
        {"zero limit with a given count", Corner({"--settings", Settings(dir, "0", "20"), "--divisions", "4"}), 0, "\nDivCount=4\n"},
        {"empty count: chosen from the limits", Corner({"--settings", settings, "--divisions", ""}), 0, "\nDivCount=8\n"},
        {"full-width digits read", QStringList{"--bp", "０，０", "--ip", "100,100", "--ep", "0,200", "--radius", " １００ "}, 0, "\nRadSigned=100\n"},
        {"settings file that is a device: the defaults", Corner({"--settings", "/dev/zero"}), 0, "通常のファイルではありません"},
        {"version", {"--version"}, 0, "tovanel-cli "},
        // Usage errors: the option and the text as found, never the parser's English. What the
        // calculation, the point files and the writers refuse is theirs; one row each shows it here.
        {"unknown option", Corner({"--frobnicate"}), 2, "--frobnicate というオプションはありません"},
        {"value missing", Corner({"--divisions"}), 2, "--divisions に値がありません"},
        {"value given to a switch", Corner({"--listing=1"}), 2, "--listing は値をとりません"},
        {"a stray argument", Corner({"stray"}), 2, "「stray」"},
        {"an option twice", Corner({"--radius", "50"}), 2, "--radius が 2 回以上あります"},
        {"missing points", {"--bp", "0,0", "--radius", "5"}, 2, "--ip を指定してください"},
        {"missing radius", noRadius, 2, "--radius を指定してください"},
        {"radius with a unit", noRadius + QStringList{"--radius", "12m"}, 2, "--radius の値「12m」は数値ではありません"},
        {"thousands separator in a pair", {"--bp", "1,234,5", "--ip", "100,100", "--ep", "0,200", "--radius", "10"}, 2,
         "--bp の値「1,234,5」は X,Y の形ではありません"},
        {"half of a pair missing", {"--bp", "0,", "--ip", "100,100", "--ep", "0,200", "--radius", "10"}, 2, "--bp の Y の値が空です"},
        {"type beyond the list", Corner({"--type", "7", "--export", "-"}), 2, "--type は 0、1、2、3 のどれかです（「7」）"},
        {"type with a fraction", Corner({"--type", "2.6"}), 2, "（「2.6」）"},
        {"bad paper", Corner({"--paper", "A5", "--export", "-"}), 2, "--paper は A4、A3、B4、B5"},
        {"DXF scale of nought", Corner({"--dxf-scale", "0", "--export", "-"}), 2, "--dxf-scale は 1 から 100000"},
        // TL 100 of a radius 100 corner whose BP lies 50 from IP: computed, written, and said.
        {"curve past BP: warned, still written", {"--bp", "50,50", "--ip", "100,100", "--ep", "0,200", "--radius", "100",
                                                  "--type", "0", "--export", "-"}, 0, "警告: "},
        {"TAB in the IP number", Corner({"--ip-number", "7\t8", "--type", "0", "--export", "-"}), 2, "TAB"},
        {"two outputs to stdout", Corner({"--sima", "-", "--csv", "-"}), 2, "標準出力 (-) に書ける出力は一つだけです"},
        // An output over an input or another output: refused before anything is computed.
        {"two outputs on one path", Corner({"--sima", keep, "--csv", dir.filePath("x/../keep.sim")}), 2, "同じファイルです"},
        {"output over the settings", Corner({"--settings", settings, "--type", "0", "--pdf", settings}), 2, "設定ファイルの"},
        {"output over the point file", names(twice, "EP") + QStringList{"--sima", twice}, 2, "--points の"},
        {"output over the table through a link", {"--batch", table, "--sima", dir.filePath("table-link.csv")}, 2, "--batch の"},
        {"empty output path", Corner({"--pdf", ""}), 2, "--pdf の値が空です"},
        // Writing fails: status 2, the real reason.
        {"unwritable point file", Corner({"--csv", dir.filePath("no/x.csv")}), 2, "x.csv に書けません: フォルダがありません"},
        {"standard output on a full disk", Corner({"--elements"}), 2, "ディスクの空き容量が足りません",
         [](QProcess& p) { p.setStandardOutputFile("/dev/full"); }},
        {"sheets beyond the file size limit", Corner({"--type", "0", "--pdf", keep}), 2, "ファイルが大きすぎます", fileLimit},
        {"drawing beyond the file size limit", Corner({"--type", "0", "--dxf", keep}), 2, "DXF を書き終えられません", fileLimit},
        // The calculation refuses: status 3.
        {"zero limit", Corner({"--settings", Settings(dir, "0", "20")}), 3, "０以下"},
        {"no point file", names(dir.filePath("none.sim"), "EP"), 2, "none.sim: 開けません（ファイルがありません）"},
        {"name held twice", names(twice, "EP"), 2, "「EP」が 2 点あります（3, 4 行目）"},
        {"--points with --bp", names(twice, "EP") + QStringList{"--bp", "0,0"}, 2, "--points と --bp は一緒に使えません"},
        {"--bp-name alone", Corner({"--bp-name", "BP"}), 2, "--bp-name は --points と一緒に使います"},
        {"name SIMA cannot hold", Corner({"--ip-number", "1,2", "--csv", keep + ".csv", "--sima", keep}), 3, "カンマ"},
        {"a corner option with a table", {"--batch", table, "--radius", "5"}, 2, "--radius は --batch と一緒に使えません"},
        {"a table's --elements without its file", {"--batch", table, "--elements"}, 2, "--elements に値がありません"},
    };
    for (const auto& c : cases) {
        const Ran r = Launch(kCli, c.args, c.setUp);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err.toStdString();
        EXPECT_TRUE((c.status ? r.err : r.out + r.err).contains(QString::fromUtf8(c.says))) << c.name << ": " << r.err.toStdString();
        if (c.status != 0) {
            EXPECT_EQ(r.err.count('\n'), 1) << c.name << ": one line of reason";
            EXPECT_TRUE(r.out.isEmpty()) << c.name;
            EXPECT_TRUE(Japanese(r.err)) << c.name << ": " << r.err.toStdString();
        }
        EXPECT_EQ(ReadAll(keep), "previous") << c.name;
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).size(), 6)
        << "nothing written by a refused or failed run, no temporary file left";
}

// One corner's outputs are written all or none (a refused SIMA file, a failing standard output).
TEST(Cli, OneCornerWritesAllItsFilesOrNone)
{
    QTemporaryDir dir;
    const QString pdf = WriteIn(dir, "c.pdf", "old pdf"), csv = WriteIn(dir, "c.csv", "old csv");
    const Ran refused = Cli({"--ip-number", "1,2", "--type", "0", "--pdf", pdf, "--csv", csv, "--sima", dir.filePath("c.sim")});
    EXPECT_EQ(refused.status, 3);
    const Ran stdoutFull = Launch(kCli, Corner({"--type", "0", "--pdf", pdf, "--export", "-"}),
                                  [](QProcess& p) { p.setStandardOutputFile("/dev/full"); });
    EXPECT_EQ(stdoutFull.status, 2);
    EXPECT_EQ(ReadAll(pdf) + ReadAll(csv), "old pdfold csv");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    const Ran written = Cli({"--type", "0", "--pdf", pdf, "--csv", csv, "--sima", "-"});
    ASSERT_EQ(written.status, 0) << written.err.toStdString();
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF"));
    EXPECT_TRUE(written.bytes.startsWith("G00,01,")) << "the SIMA file on standard output";
    const Ran toStdout = Cli({"--type", "0", "--pdf", "-"});
    EXPECT_TRUE(toStdout.bytes.startsWith("%PDF")) << "the PDF on standard output";
    EXPECT_TRUE(toStdout.bytes.trimmed().endsWith("%%EOF"));
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

// Every output at once; the corner recomputed from its own point files by name equals the original.
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
    const QStringList args = {"--bp", "0,0", "--ip", "100,100", "--ep", "0,200", "--radius", "50.25", "--inner", "1.5",
                              "--divisions", "8", "--elements", "--listing"};
    const Ran plain = Launch(kCli, args);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("LOCPATH", dir.path());
    env.insert("LC_ALL", kCommaLocale);
    const Ran comma = Launch(kCli, args, [&](QProcess& p) { p.setProcessEnvironment(env); });
    ASSERT_EQ(plain.status, 0);
    EXPECT_TRUE(plain.out.contains("    R=    50.250"));
    EXPECT_EQ(comma.out, plain.out);
    EXPECT_EQ(comma.err, plain.err);
}

/// A table of `lines` corners: a run with sheets is still going seconds after it began.
QString LongTable(const QTemporaryDir& dir, int lines)
{
    QByteArray table;
    for (int i = 1; i <= lines; ++i) table += QByteArray::number(i) + ",0,0,100,100,0,200,100,3,3,1,\r\n";
    return WriteIn(dir, "long.csv", table);
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
    EXPECT_TRUE(out[0].startsWith("IPNo,AzIn,AzOut,IA,")) << "no byte-order mark on standard output";
    EXPECT_TRUE(out[1].startsWith("7,"));
    const QStringList err = r.err.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(err.size(), 3) << r.err.toStdString();
    EXPECT_TRUE(err[0].startsWith(QStringLiteral("tovanel-cli: block.csv の 3 行目: 項目が")));
    EXPECT_TRUE(err[1].startsWith(QStringLiteral("tovanel-cli: block.csv の 4 行目: 分割数が1000を超えます")));
    EXPECT_EQ(err[2], QStringLiteral("tovanel-cli: 1 箇所の隅切りを計算しました。計算できなかった行が 2 行あります。"));

    const QStringList outputs = {"--sima", dir.filePath("b.sim"), "--pdf", dir.filePath("b.pdf"), "--elements", dir.filePath("e.csv")};
    EXPECT_EQ(Launch(kCli, QStringList{"--batch", table} + outputs).status, 3);
    EXPECT_TRUE(ReadAll(dir.filePath("b.sim")).startsWith("G00,01,block,\r\n"));
    EXPECT_TRUE(ReadAll(dir.filePath("e.csv")).startsWith("\xEF\xBB\xBFIPNo,AzIn,")) << "a file: UTF-8 a spreadsheet recognises";
    EXPECT_TRUE(ReadAll(dir.filePath("b.pdf")).startsWith("%PDF"));

    // A drawing larger than the run buffers meets the full disk mid-stream: the disk's reason.
    const Ran full = Launch(kCli, {"--batch", LongTable(dir, 100), "--dxf", "/dev/full"});
    EXPECT_EQ(full.status, 2);
    EXPECT_TRUE(full.err.contains(QStringLiteral("DXF を書けません（ディスクの空き容量が足りません）"))) << full.err.toStdString();
}

/// The SVG's texts joined in order (a name may be split where its script changes).
QString SvgTexts(const QByteArray& svg)
{
    QString out;
    const QRegularExpression text(QStringLiteral(">([^<>]*)</text>"));
    for (auto m = text.globalMatch(QString::fromUtf8(svg)); m.hasNext();) out += m.next().captured(1);
    return out;
}

// The plan of a corner or a table, SVG or PDF by the name; refused lines by their points.
TEST(Cli, PlanOfACornerAndOfATable)
{
    QTemporaryDir dir;
    const Ran one = Cli({"--type", "0", "--ip-number", "交7", "--plan", dir.filePath("one.svg")});
    EXPECT_EQ(one.status, 0) << one.err.toStdString();
    EXPECT_TRUE(one.out.isEmpty()) << one.out.toStdString();
    EXPECT_TRUE(ReadAll(dir.filePath("one.svg")).contains("<svg"));
    EXPECT_TRUE(SvgTexts(ReadAll(dir.filePath("one.svg"))).contains(QStringLiteral("交7C 1"))) << "the stake points' names";
    EXPECT_EQ(Cli({"--type", "0", "--plan", dir.filePath("one.pdf")}).status, 0);
    EXPECT_TRUE(ReadAll(dir.filePath("one.pdf")).startsWith("%PDF"));

    const QString table = WriteIn(dir, "block.csv", "7,0,0,100,100,0,200,100,3,3,1,\r\n8,5,5,5,5,5,5,10,1,1,0,\r\n9,0,0,x\r\n");
    const Ran all = Launch(kCli, {"--batch", table, "--plan", dir.filePath("all.svg"), "--sima", dir.filePath("all.sim")});
    EXPECT_EQ(all.status, 3) << "two lines refused";
    const QString drawn = SvgTexts(ReadAll(dir.filePath("all.svg")));
    EXPECT_TRUE(drawn.contains(QStringLiteral("7C 1")));
    EXPECT_TRUE(drawn.contains(QStringLiteral("IP 8"))) << "the refused corner by its points";
    EXPECT_FALSE(drawn.contains(QStringLiteral("IP 9")));
    EXPECT_EQ(Launch(kCli, {"--batch", table, "--plan", table}).status, 2) << "the table is no output";
}

/// The hidden files of the folder: the temporary files of outputs not yet committed.
QStringList Temporaries(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList({".*"}, QDir::Files | QDir::Hidden);
}

/// Waits (30 s at most) until the running process has opened `count` outputs; returns how many.
qsizetype WaitForTemporaries(const QTemporaryDir& dir, const QProcess& p, qsizetype count)
{
    QElapsedTimer waited;
    waited.start();
    while (Temporaries(dir).size() < count && p.state() == QProcess::Running && waited.elapsed() < 30000)
        QThread::msleep(20);
    return Temporaries(dir).size();
}

// A signal stops a table run between corners, or one corner blocked on a full pipe after its
// temporaries exist: status 128 + signal, previous files and no temporaries left (without the
// handlers the process would die with its temporaries).
TEST(Cli, SignalsStopARunAndKeepThePreviousFiles)
{
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const auto closePipe = qScopeGuard([&] { ::close(ends[0]), ::close(ends[1]); });
    ::fcntl(ends[1], F_SETFL, O_NONBLOCK);  // filled: a run's first write to it waits
    const QByteArray filler(4096, 'x');
    while (::write(ends[1], filler.constData(), static_cast<size_t>(filler.size())) > 0) {}
    ::fcntl(ends[1], F_SETFL, 0);
    const int full = ends[1];
    const char* const stopped = "/ 3000 箇所目で中止しました。ファイルは書いていません";
    const struct { const char* name; int signal; int status; bool table; const char* says; } cases[] = {
        {"Ctrl-C", SIGINT, 130, true, stopped},
        {"SIGTERM", SIGTERM, 143, true, stopped},
        {"SIGHUP: the terminal closed", SIGHUP, 129, true, stopped},
        {"Ctrl-C on one corner waiting on its output", SIGINT, 130, false, "中止しました（Ctrl-C, SIGINT）"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString pdf = WriteIn(dir, "b.pdf", "previous"), sim = WriteIn(dir, "b.sim", "previous");
        const QString csv = WriteIn(dir, "p.csv", "previous");
        QProcess p;
        if (c.table) {
            p.start(kCli, {"--batch", LongTable(dir, 3000), "--pdf", pdf, "--sima", sim});
        } else {
            p.setChildProcessModifier([full] { ::dup2(full, STDOUT_FILENO); });
            p.start(kCli, Corner({"--listing", "--csv", csv}));
        }
        ASSERT_TRUE(p.waitForStarted());
        // The outputs are opened once the handlers are in place.
        const qsizetype outputs = c.table ? 2 : 1;
        ASSERT_EQ(WaitForTemporaries(dir, p, outputs), outputs) << "the run did not open its outputs";
        if (!c.table) QThread::msleep(100);  // into the write that waits
        ::kill(static_cast<pid_t>(p.processId()), c.signal);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << "ended by the signal instead of stopping";
        EXPECT_EQ(p.exitCode(), c.status);
        const QString err = QString::fromUtf8(p.readAllStandardError());
        EXPECT_TRUE(err.contains(QString::fromUtf8(c.says))) << err.toStdString();
        EXPECT_EQ(ReadAll(pdf) + ReadAll(sim) + ReadAll(csv), "previouspreviousprevious");
        EXPECT_EQ(Temporaries(dir), QStringList());
    }
}

// A closed pipe on standard output (`… | head -1`) stops the run as Ctrl-C does, with 141.
TEST(Cli, AClosedPipeStopsARunAsCtrlCDoes)
{
    QTemporaryDir dir;
    const QString table = LongTable(dir, 1000);
    const QString csv = WriteIn(dir, "p.csv", "previous");
    const struct { const char* name; QStringList args; } cases[] = {
        {"a table's elements", {"--batch", table, "--elements", "-", "--csv", csv}},
        {"one corner's points", Corner({"--type", "0", "--sima", "-", "--csv", csv})},
        {"one corner's elements", Corner({"--elements", "--csv", csv})},
    };
    for (const auto& c : cases) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        ::close(ends[0]);  // no reader, before the run begins
        const int writer = ends[1];
        const Ran r = Launch(kCli, c.args, [writer](QProcess& p) { p.setChildProcessModifier([writer] { ::dup2(writer, STDOUT_FILENO); }); });
        ::close(writer);
        EXPECT_EQ(r.status, 141) << c.name << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.contains(QStringLiteral("中止しました"))) << c.name << ": " << r.err.toStdString();
        EXPECT_EQ(ReadAll(csv), "previous") << c.name;
        EXPECT_EQ(Temporaries(dir), QStringList()) << c.name;
    }
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

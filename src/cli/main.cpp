// SPDX-License-Identifier: GPL-3.0-or-later
// tovanel-cli: one corner or a whole corner table without windows — the trial calculation, the
// calculation sheets, the point files and the drawing. `main` parses, gathers, computes and
// writes; a step that cannot go on ends the run with its exit status and one line on stderr.

#include "batch/batchrun.h"
#include "batch/cornertable.h"
#include "calc/atomicfile.h"
#include "calc/corner.h"
#include "calc/curve.h"
#include "calc/elementlist.h"
#include "calc/exportlist.h"
#include "calc/listing.h"
#include "calc/numeric.h"
#include "calc/settings.h"
#include "calc/settingsfile.h"
#include "exchange/dxfdrawing.h"
#include "plan/plan.h"
#include "exchange/pointfile.h"
#include "exchange/pointwriter.h"
#include "print/fonts.h"
#include "print/pagelayout.h"
#include "print/pdfstream.h"
#include "sheets/blocksheet.h"
#include "sheets/composition.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <tuple>

using namespace tovanel;

namespace {

enum Exit { kOk = 0, kUsage = 2, kRefused = 3 };
/// A run ended by a signal exits with 128 + its number: 130 for Ctrl-C, 143 for SIGTERM.
constexpr int kSignalExitBase = 128;

// ---- The options: one list feeds the parser, --help and (through --help) the manual page check.

enum class Use { Corner, Batch, Both, Info };  // Info: --help, --version
enum class Role { Value, Input, Output };      // Input and Output options name files

struct OptionSpec {
    const char* name;   ///< without its dashes
    const char* value;  ///< the value's name in --help; nullptr for a switch
    const char* help;   ///< its line in --help
    Use use;
    Role role = Role::Value;
};

// --elements is a switch for one corner and names a file for a table: one entry for each.
constexpr OptionSpec kOptions[] = {
    {"bp", "X,Y", "始点 BP の座標（X は北、Y は東）", Use::Corner},
    {"ip", "X,Y", "交点 IP の座標", Use::Corner},
    {"ep", "X,Y", "終点 EP の座標", Use::Corner},
    {"points", "FILE", "BP・IP・EP を SIMA (.sim) か CSV の座標ファイルから点名で取る", Use::Corner, Role::Input},
    {"bp-name", "NAME", "そのファイルでの BP の点名", Use::Corner},
    {"ip-name", "NAME", "そのファイルでの IP の点名", Use::Corner},
    {"ep-name", "NAME", "そのファイルでの EP の点名", Use::Corner},
    {"radius", "R", "中心線の半径", Use::Corner},
    {"inner", "W", "内側の幅員（省略時 0）", Use::Corner},
    {"outer", "W", "外側の幅員（省略時 0）", Use::Corner},
    {"type", "0|1|2|3", "計算方式: 0 平行, 1 千鳥, 2 外接, 3 等曲率半径（省略時: 設定ファイルの値）", Use::Corner},
    {"ip-number", "TEXT", "IP 番号", Use::Corner},
    {"divisions", "N", "分割数（0、空または省略: 制限値から決める）", Use::Corner},
    {"elements", nullptr, "計算した要素を 1 行に一つ Name=value で（ほかの出力がないときの既定）", Use::Corner},
    {"listing", nullptr, "試算の一覧: 1 行に x TAB y TAB 色 TAB 文字", Use::Corner},
    {"export", "FILE|-", "プレビューの「閉じる」がクリップボードに置く点の一覧 (UTF-8)", Use::Corner, Role::Output},
    {"batch", "TABLE", "隅切り表 (CSV または TAB 区切り) のすべての隅切りを計算する", Use::Batch, Role::Input},
    {"elements", "FILE|-", "隅切りごとに 1 行の要素の CSV (UTF-8、ファイルには BOM 付き。出力の指定がなければ -)",
     Use::Batch, Role::Output},
    {"settings", "FILE", "設定ファイル（既定: プログラムが見つけるもの、なければ組み込みの値）", Use::Both, Role::Input},
    {"paper", "A4|A3|B4|B5", "計算書の用紙（既定 A4）", Use::Both},
    {"pdf", "FILE|-", "計算書の PDF", Use::Both, Role::Output},
    {"sima", "FILE|-", "出力する点の SIMA 座標ファイル (CP932, CR LF)", Use::Both, Role::Output},
    {"csv", "FILE|-", "出力する点の CSV 座標ファイル (CP932, CR LF)", Use::Both, Role::Output},
    {"dxf", "FILE|-", "DXF 図面: 接線、円弧、杭打ちの経路、点", Use::Both, Role::Output},
    {"plan", "FILE", "平面図: 隅切りの接線、3 本の曲線、杭の点と名前（.pdf なら PDF、ほかは SVG）", Use::Both, Role::Output},
    {"dxf-scale", "N", "DXF 図面の縮尺 1:N（点名の高さは紙の上で 2.5 mm。既定 500、1 から 100000）", Use::Both},
    // Further outputs of both modes go here: the path checks and --help take them from this list.
    {"help", nullptr, "この説明を表示して終わる", Use::Info},
    {"version", nullptr, "版を表示して終わる", Use::Info},
};

const char kUsageLines[] =
    "使い方: tovanel-cli --bp X,Y --ip X,Y --ep X,Y --radius R [オプション]\n"
    "        tovanel-cli --points FILE --bp-name NAME --ip-name NAME --ep-name NAME --radius R [オプション]\n"
    "        tovanel-cli --batch TABLE [--settings FILE] [--paper P] [--pdf FILE|-] [--sima FILE|-]\n"
    "                    [--csv FILE|-] [--dxf FILE|-] [--elements FILE|-]\n";

const char kNotes[] =
    "\n"
    "オプションの数値は、前後の空白を除いた値全体が一つの数のときだけ読みます: 符号、小数点、指数、\n"
    "全角の数字・符号・小数点。12m、nan、空の値などは、オプション名と値を示して断ります（終了ステータス 2）。\n"
    "X,Y はカンマで X と Y に分けるため、桁区切りのカンマは使えません。\n"
    "隅切り表と座標ファイルの数値も全体で読み、3 桁ごとの桁区切り (-123,455.670) も読みます。\n"
    "隅切り表: 1 行に 1 箇所、IP 番号, BP X, BP Y, IP X, IP Y, EP X, EP Y, 半径, 内幅員, 外幅員,\n"
    "計算方式 0..3, 分割数（空か 0: 制限値から）, 任意で BP・IP・EP の点名。数値のない 1 行目は見出し。\n"
    "IP 番号は行ごとに違うこと。計算できない行は行番号を示して飛ばし、最後に集計を 1 行書きます。\n"
    "表・座標ファイルは CP932、UTF-8、UTF-16（BOM 付き）で読みます。\n"
    "設定ファイルの 16 行目が \"1\" のとき方位角を厳密に計算します。\n"
    "- は標準出力で、一つの出力にだけ使えます。出力先が入力（隅切り表、座標ファイル、設定ファイル）や\n"
    "ほかの出力と同じファイルのときは、何も計算せずに断ります。ファイルはすべて作り終えてから\n"
    "まとめて置き換えます。途中で置き換えに失敗したときは、新しくなったファイルと前のままのファイルを示します。\n"
    "終了ステータス: 0 完了、2 使い方の誤り・読めない入力・書けない出力、3 計算できない入力・ファイルに\n"
    "書けない点名・計算できない表の行、130 Ctrl-C (SIGINT)、143 SIGTERM、129 SIGHUP、141 SIGPIPE\n"
    "（シグナルで止めたときはファイルを書かず、前のファイルはそのままです）。\n";

/// Whether the option is known in a mode. Every option is known in both, so that a corner's option
/// given with --batch is told as such; only --elements has an entry for each.
bool Registered(const OptionSpec& o, bool batch)
{
    return std::strcmp(o.name, "elements") != 0 || (o.use == Use::Batch) == batch;
}

QString Dashed(const char* name) { return QStringLiteral("--") + QLatin1String(name); }

QString HelpText()
{
    QString text = QString::fromUtf8(kUsageLines);
    const std::pair<Use, const char*> sections[] = {
        {Use::Corner, "隅切り 1 箇所"}, {Use::Batch, "隅切り表 (--batch)"}, {Use::Both, "どちらでも"}, {Use::Info, "そのほか"}};
    for (const auto& [use, title] : sections) {
        text += QStringLiteral("\n%1:\n").arg(QString::fromUtf8(title));
        for (const OptionSpec& o : kOptions) {
            if (o.use != use) continue;
            QString head = QStringLiteral("  ") + Dashed(o.name);
            if (o.value) head += QLatin1Char(' ') + QLatin1String(o.value);
            text += head.leftJustified(28) + QLatin1Char(' ') + QString::fromUtf8(o.help) + QLatin1Char('\n');
        }
    }
    return text + QString::fromUtf8(kNotes);
}

// ---- How a step ends the run.

/// An exit status and, for any status but 0, the one line that says why.
struct Stop {
    int status = kOk;
    QString why;
    bool stops() const { return status != kOk; }
};

Stop Usage(const QString& why) { return {kUsage, why}; }

/// The run stopped by a signal: nothing is committed, the previous files stay.
Stop Interruption()
{
    const int sig = InterruptSignal();
    const QString name = sig == SIGINT    ? QStringLiteral("Ctrl-C, SIGINT")
                         : sig == SIGPIPE ? QStringLiteral("SIGPIPE: 出力先のパイプが閉じられました")
                                          : QStringLiteral("SIG") + QString::fromLatin1(sigabbrev_np(sig));
    return {kSignalExitBase + sig,
            QStringLiteral("中止しました（%1）。ファイルは書いていません（前のファイルはそのままです）。").arg(name)};
}

void Say(const QString& line)
{
    std::fputs((QStringLiteral("tovanel-cli: ") + line + QLatin1Char('\n')).toUtf8().constData(), stderr);
}

int Report(const Stop& s)
{
    if (!s.why.isEmpty()) Say(s.why);
    return s.status;
}

// Standard output that could not be written (a full disk, a closed pipe) is a failure, not a
// success with a short result.
Stop FinishStdout()
{
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return {};
    if (Interrupted()) return Interruption();
    return Usage(QStringLiteral("標準出力に書けません: ") + FileErrorText(errno));
}

void WarnWithoutSheetFont()
{
    if (!SheetFontAvailable()) Say(QStringLiteral("IPAMincho がインストールされていないため、計算書の桁がそろいません。"));
}

// ---- Parse: the arguments into options and their values.

/// The options given: name without dashes → value ("" for a switch).
struct Args {
    bool batch = false;
    std::map<QString, QString> given;
    bool has(const char* name) const { return given.count(QLatin1String(name)) > 0; }
    QString value(const char* name) const
    {
        const auto it = given.find(QLatin1String(name));
        return it == given.end() ? QString() : it->second;
    }
};

void AddOptions(QCommandLineParser& p, bool batch)
{
    for (const OptionSpec& o : kOptions)
        if (Registered(o, batch))
            p.addOption(QCommandLineOption(QLatin1String(o.name), QString::fromUtf8(o.help),
                                           o.value ? QLatin1String(o.value) : QString()));
}

// QCommandLineParser's own messages are English: its three ways of failing are told again here.
QString ParseError(const QCommandLineParser& p, const QStringList& arguments, bool batch)
{
    if (const QStringList unknown = p.unknownOptionNames(); !unknown.isEmpty()) {
        // Shown as typed: "-x" is read letter by letter, "--x" and "--x=…" whole.
        const QString dashed = QStringLiteral("--") + unknown.first();
        const bool typedLong = std::any_of(arguments.begin(), arguments.end(), [&](const QString& arg) {
            return arg == dashed || arg.startsWith(dashed + QLatin1Char('='));
        });
        return QStringLiteral("%1 というオプションはありません（--help を参照）").arg(typedLong ? dashed : dashed.mid(1));
    }
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--")) break;
        if (!a.startsWith(QLatin1String("--"))) continue;
        const qsizetype eq = a.indexOf(QLatin1Char('='));
        const QString name = a.left(eq).mid(2);
        for (const OptionSpec& o : kOptions) {
            if (!Registered(o, batch) || name != QLatin1String(o.name)) continue;
            if (o.value && eq < 0 && ++i == arguments.size()) return QStringLiteral("--%1 に値がありません").arg(name);
            if (!o.value && eq >= 0) return QStringLiteral("--%1 は値をとりません").arg(name);
        }
    }
    return QStringLiteral("引数を読めません（--help を参照）");
}

/// Reads `arguments`, the program's name first.
Stop Parse(const QStringList& arguments, Args& args)
{
    {
        // --elements names a file only with --batch: a first reading finds out which it is.
        QCommandLineParser first;
        AddOptions(first, false);
        (void)first.parse(arguments);  // what is wrong the second reading tells
        args.batch = first.isSet(QStringLiteral("batch"));
    }
    QCommandLineParser p;
    AddOptions(p, args.batch);
    if (!p.parse(arguments)) return Usage(ParseError(p, arguments, args.batch));
    if (const QStringList extra = p.positionalArguments(); !extra.isEmpty())
        return Usage(QStringLiteral("オプションでない引数「%1」があります（--help を参照）").arg(extra.first()));
    const QStringList found = p.optionNames();
    for (const OptionSpec& o : kOptions) {
        const QString name = QLatin1String(o.name);
        if (!Registered(o, args.batch) || !p.isSet(name)) continue;
        // Which of two values was meant is not for the program to guess.
        if (o.value && found.count(name) > 1) return Usage(QStringLiteral("--%1 が 2 回以上あります").arg(name));
        args.given[name] = o.value ? p.value(name) : QString();
    }
    return {};
}

// ---- Gather: the settings, the paths and the corner, everything checked before any computing.

/// What a run computes from.
struct Job {
    Settings settings;
    int paper = kPaperA4;
    double dxfScale = kDefaultDxfScale;
    Corner corner;
};

Stop CheckCombination(const Args& a)
{
    for (const OptionSpec& o : kOptions)
        if (o.use == Use::Corner && a.batch && Registered(o, true) && a.has(o.name))
            return Usage(QStringLiteral("--%1 は --batch と一緒に使えません（隅切り表が隅切りごとに与えます）").arg(o.name));
    if (a.batch) return {};
    for (const char* point : {"bp", "ip", "ep"}) {
        const QByteArray name = QByteArray(point) + "-name";
        if (a.has("points") && a.has(point))
            return Usage(QStringLiteral("--points と --%1 は一緒に使えません（点はファイルから取ります）").arg(point));
        if (a.has("points") && !a.has(name.constData()))
            return Usage(QStringLiteral("--points には --bp-name、--ip-name、--ep-name が要ります"));
        if (!a.has("points") && a.has(name.constData()))
            return Usage(QStringLiteral("--%1 は --points と一緒に使います").arg(QLatin1String(name)));
        if (!a.has("points") && !a.has(point)) return Usage(QStringLiteral("--%1 を指定してください").arg(point));
    }
    if (!a.has("radius")) return Usage(QStringLiteral("--radius を指定してください"));
    return {};
}

Stop ReadPaper(const Args& a, int& paper)
{
    if (!a.has("paper")) return {};
    const std::map<QString, int> papers = {{"A4", kPaperA4}, {"A3", kPaperA3}, {"B4", kPaperB4}, {"B5", kPaperB5}};
    const auto it = papers.find(a.value("paper").toUpper());
    if (it == papers.end()) return Usage(QStringLiteral("--paper は A4、A3、B4、B5 のどれかです（「%1」）").arg(a.value("paper")));
    paper = it->second;
    return {};
}

/// The settings file the run reads: --settings, else where the program finds it (read only: the
/// command line never creates the user's file); empty for the built-in settings.
Stop SettingsPath(const Args& a, QString& path)
{
    if (!a.has("settings")) {
        path = LocateSettings(QCoreApplication::applicationDirPath(), UserSettingsDir()).current();
        return {};
    }
    path = a.value("settings");
    if (path.isEmpty() || !QFileInfo::exists(path)) return Usage(QStringLiteral("設定ファイル「%1」がありません").arg(path));
    return {};
}

/// Refuses an output that would replace an input or another output. Files are compared as the
/// writer will reach them (links followed, hard links by their inode).
Stop CheckPaths(const Args& a, const QString& settingsPath)
{
    std::map<QString, QString> taken;  // file → what it is, as the user gave it
    if (!settingsPath.isEmpty()) taken[FileIdentity(settingsPath)] = QStringLiteral("設定ファイルの ") + settingsPath;
    int toStdout = 0;
    for (const OptionSpec& o : kOptions) {
        if (o.role == Role::Value || !Registered(o, a.batch) || !a.has(o.name) || std::strcmp(o.name, "settings") == 0)
            continue;
        const QString path = a.value(o.name);
        const QString what = QStringLiteral("--%1 の %2").arg(QLatin1String(o.name), path);
        if (path.isEmpty()) return Usage(QStringLiteral("--%1 の値が空です").arg(o.name));
        if (o.role == Role::Output && path == QLatin1String("-")) {
            if (++toStdout > 1) return Usage(QStringLiteral("標準出力 (-) に書ける出力は一つだけです"));
            continue;
        }
        const auto [it, added] = taken.emplace(FileIdentity(path), what);
        if (!added)
            return Usage(QStringLiteral("%1 は %2 と同じファイルです。入力やほかの出力を上書きするので、何も計算していません")
                             .arg(what, it->second));
    }
    return {};
}

/// A number from an option: its whole text, or a refusal naming `what` and the text as found.
Stop OptionNumber(const QString& what, const QString& text, double& v)
{
    if (text.trimmed().isEmpty()) return Usage(QStringLiteral("%1 の値が空です").arg(what));
    const std::optional<double> n = StrictNumber(text);
    if (!n) return Usage(QStringLiteral("%1 の値「%2」は数値ではありません").arg(what, text));
    v = *n;
    return {};
}

/// A point's X,Y. The comma parts X from Y, so neither half may hold a thousands separator.
Stop OptionPair(const QString& option, const QString& text, double& x, double& y)
{
    const qsizetype commas = text.count(QLatin1Char(',')) + text.count(QChar(0xFF0C));  // and the full-width ，
    if (commas != 1)
        return Usage(QStringLiteral("%1 の値「%2」は X,Y の形ではありません（カンマは X と Y の区切りで、桁区切りには使えません）")
                         .arg(option, text));
    const qsizetype at = std::max(text.indexOf(QLatin1Char(',')), text.indexOf(QChar(0xFF0C)));
    if (Stop s = OptionNumber(option + QStringLiteral(" の X"), text.left(at), x); s.stops()) return s;
    return OptionNumber(option + QStringLiteral(" の Y"), text.mid(at + 1), y);
}

Stop GatherPoints(const Args& a, CornerInput& in)
{
    const std::tuple<const char*, double*, double*> points[] = {
        {"bp", &in.BpX, &in.BpY}, {"ip", &in.IpX, &in.IpY}, {"ep", &in.EpX, &in.EpY}};
    if (!a.has("points")) {
        for (const auto& [name, x, y] : points)
            if (Stop s = OptionPair(Dashed(name), a.value(name), *x, *y); s.stops()) return s;
        return {};
    }
    const QString file = a.value("points");
    const PointFileRead read = LoadPointFile(file);
    if (!read.ok()) return Usage(PointFileMessage(file, read));
    for (const auto& [name, x, y] : points) {
        const FilePoint* p = nullptr;
        if (QString why = FindPoint(file, read, a.value((QByteArray(name) + "-name").constData()), p); !why.isEmpty())
            return Usage(why);
        *x = p->x;
        *y = p->y;
    }
    return {};
}

Stop GatherCorner(const Args& a, const Settings& s, CornerInput& in)
{
    if (Stop st = GatherPoints(a, in); st.stops()) return st;
    // Absent widths are 0 and an absent or empty division count is chosen from the limits; a
    // width given empty is a slip and is refused.
    const struct { const char* name; double* to; bool emptyIsZero; } numbers[] = {
        {"radius", &in.Radius, false}, {"inner", &in.WidthIn, false}, {"outer", &in.WidthOut, false}, {"divisions", &in.DivCount, true}};
    for (const auto& n : numbers) {
        if (!a.has(n.name) || (n.emptyIsZero && a.value(n.name).trimmed().isEmpty())) continue;
        if (Stop st = OptionNumber(Dashed(n.name), a.value(n.name), *n.to); st.stops()) return st;
    }
    if (a.has("type")) {
        const std::optional<double> t = StrictNumber(a.value("type"));
        // A whole number of the type list only: "2.6" is no type, not the nearest one.
        if (!t || !(*t >= 0 && *t <= 3 && *t == std::floor(*t)))
            return Usage(QStringLiteral("--type は 0、1、2、3 のどれかです（「%1」）").arg(a.value("type")));
        in.CalcType = static_cast<int16_t>(*t);
    } else {
        // The remembered type follows the window's rule: another value selects no type.
        const double t = std::nearbyint(LeadingNumber(s.rememberedType()));
        in.CalcType = static_cast<int16_t>(t >= 0 && t <= 3 ? t : -1);
    }
    // The IP number becomes part of every exported point name: a TAB or a line end there would
    // shift the CAD's columns or split a line.
    in.IPNo = a.value("ip-number");
    if (HasFieldBreak(in.IPNo)) return Usage(QStringLiteral("--ip-number に TAB や改行は使えません"));
    return {};
}

Stop Gather(const Args& a, Job& job)
{
    if (Stop st = CheckCombination(a); st.stops()) return st;
    if (Stop st = ReadPaper(a, job.paper); st.stops()) return st;
    if (a.has("dxf-scale")) {
        if (Stop st = OptionNumber(QStringLiteral("--dxf-scale"), a.value("dxf-scale"), job.dxfScale); st.stops()) return st;
        if (!(job.dxfScale >= kMinDxfScale && job.dxfScale <= kMaxDxfScale))
            return Usage(QStringLiteral("--dxf-scale は 1 から 100000 の縮尺の分母です（「%1」）").arg(a.value("dxf-scale")));
    }
    QString settings;
    if (Stop st = SettingsPath(a, settings); st.stops()) return st;
    if (Stop st = CheckPaths(a, settings); st.stops()) return st;
    if (settings.isEmpty())
        job.settings = DefaultSettings();
    else
        for (const QString& notice : ReadSettings(settings, job.settings)) Say(notice);
    return a.batch ? Stop{} : GatherCorner(a, job.settings, job.corner.in);
}

// ---- Compute: every output of one corner made as bytes before any is written.

/// One output made: where it goes ("-": standard output) and its bytes.
struct Piece {
    QString target;
    QByteArray bytes;
};

QByteArray ListingBytes(const Listing& listing)
{
    QString text;
    for (const ListingText& t : listing.texts)
        text += QStringLiteral("%1\t%2\t%3\t%4\n").arg(t.x).arg(t.y).arg(t.colour).arg(t.text);
    return text.toUtf8();
}

QByteArray ElementBytes(const CornerElements& el)
{
    std::string text;
    for (const auto& [name, value] : ElementList(el)) {
        text += name;
        text += '=';
        AppendFullDigits(text, value);
        text += '\n';
    }
    return QByteArray::fromStdString(text);
}

/// The corner's drawing. A point name the drawing cannot hold refuses the corner (exit 3); the
/// drawing's own working file failing (a full disk) is a failure to write (exit 2).
Stop DxfBytes(const DxfCorner& corner, double scale, QByteArray& bytes)
{
    DxfStream dxf(scale);
    if (QString why = dxf.begin(); !why.isEmpty()) return Usage(why);
    if (QString why = dxf.add(corner); !why.isEmpty()) return {kRefused, why};
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (QString why = dxf.end(buffer); !why.isEmpty()) return Usage(why);
    return {};
}

/// The sheets as a PDF in memory.
Stop PdfBytes(const PageLayout& pl, QByteArray& bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    if (pl.pageCount() > 0) {
        PdfStream pdf(buffer, pl, pl.docName());
        painted = pdf.add(pl) && pdf.finish();
    }  // the writer has finished the document here
    return painted ? Stop{} : Usage(QStringLiteral("計算書の PDF を描けません。"));
}

bool WantsSheets(const Args& a)
{
    for (const char* o : {"export", "pdf", "sima", "csv", "dxf"})
        if (a.has(o)) return true;
    return false;
}

/// The sheets composed, and the files made of them in the order the options are listed.
Stop ComposeOutputs(const Args& a, const Job& job, const Corner& k, std::vector<Piece>& pieces)
{
    const Settings& s = job.settings;
    InstallFontSubstitutions();
    PageLayout pl;
    pl.setPaperSize(job.paper);
    const Composition composed = ComposeDocument(k, s, pl);
    if (!composed.refusal.isEmpty()) return {kRefused, composed.refusal};
    const std::vector<ExportPoint> exported = ExportPoints(composed.exports);
    // A point name a file cannot hold refuses the corner (exit 3): no file of it is written.
    const auto refused = [](const QString& why) { return why.isEmpty() ? Stop{} : Stop{kRefused, why}; };
    const std::pair<const char*, std::function<Stop(QByteArray&)>> makers[] = {
        {"export", [&](QByteArray& b) { return b = BuildExportText(composed.exports, s).text.toUtf8(), Stop{}; }},
        {"sima", [&](QByteArray& b) { return refused(SimaFile(exported, k.in.IPNo, b)); }},
        {"csv", [&](QByteArray& b) { return refused(CsvFile(exported, b)); }},
        {"dxf", [&](QByteArray& b) { return DxfBytes(CornerOf(k, composed.exports, BlockExportCounts(k)), job.dxfScale, b); }},
        {"pdf", [&](QByteArray& b) { return PdfBytes(pl, b); }},
    };
    for (const auto& [name, make] : makers) {
        if (!a.has(name)) continue;
        if (Interrupted()) return Interruption();
        if (std::strcmp(name, "pdf") == 0) WarnWithoutSheetFont();
        QByteArray bytes;
        if (Stop st = make(bytes); st.stops()) return st;
        pieces.push_back({a.value(name), std::move(bytes)});
    }
    return {};
}

/// The plan drawing of `corners` as the file the name asks for: PDF for ".pdf", SVG otherwise.
Stop PlanBytes(const QString& path, const std::vector<PlanCorner>& corners, QByteArray& bytes)
{
    InstallFontSubstitutions();  // the names in the window's Japanese font, as the window draws them
    const bool pdf = path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
    const QString why = pdf ? PlanPdfFile(corners, bytes) : PlanSvgFile(corners, bytes);
    return why.isEmpty() ? Stop{} : Usage(why);
}

Stop Compute(const Args& a, const Job& job, std::vector<Piece>& pieces)
{
    Corner k = job.corner;
    Listing listing;
    if (QString why = S_CRT(k.in, job.settings, k.el, listing); !why.isEmpty()) return {kRefused, why};
    // Computed and written all the same: the surveyor is told, the outputs are not held back.
    for (const QString& line : CornerWarnings(k.in, k.el)) Say(QStringLiteral("警告: ") + line);
    const bool sheets = WantsSheets(a);
    if (a.has("listing")) pieces.push_back({QStringLiteral("-"), ListingBytes(listing)});
    if (a.has("elements") || !(a.has("listing") || a.has("plan") || sheets))
        pieces.push_back({QStringLiteral("-"), ElementBytes(k.el)});
    if (a.has("plan")) {
        QByteArray bytes;
        if (Stop st = PlanBytes(a.value("plan"), {PlanCornerOf(k.in, job.settings)}, bytes); st.stops()) return st;
        pieces.push_back({a.value("plan"), std::move(bytes)});
    }
    return sheets ? ComposeOutputs(a, job, k, pieces) : Stop{};
}

// ---- Write: the files beside their paths, standard output, then every file committed at once.

Stop Write(const std::vector<Piece>& pieces)
{
    std::vector<std::unique_ptr<AtomicFile>> files;
    std::vector<AtomicFile*> commit;
    for (const Piece& p : pieces) {
        if (p.target == QLatin1String("-")) continue;
        auto& f = files.emplace_back(std::make_unique<AtomicFile>(p.target));
        if (!f->open() || f->write(p.bytes) != p.bytes.size())
            return Usage(QStringLiteral("%1 に書けません: %2").arg(QDir::toNativeSeparators(p.target), f->reason()));
        commit.push_back(f.get());
    }
    for (const Piece& p : pieces)
        if (p.target == QLatin1String("-")) std::fwrite(p.bytes.constData(), 1, static_cast<size_t>(p.bytes.size()), stdout);
    if (Stop st = FinishStdout(); st.stops()) return st;
    // Past this point the files are replaced: a signal now finds the run done.
    if (Interrupted()) return Interruption();
    const CommitReport report = CommitAll(commit);
    return report.ok() ? Stop{} : Usage(report.message());
}

// ---- A corner table: every corner through the same road, into one set of files.

/// The plan drawing of every corner line of the table, as the run will read them: computed
/// corners whole, refused ones as their three points; lines that cannot be read are left out.
Stop TablePlan(const QString& table, const Job& job, const QString& path, QByteArray& bytes)
{
    CornerTable read;
    if (QString why = read.open(table); !why.isEmpty()) return Usage(why);
    std::vector<PlanCorner> corners;
    TableLine line;
    while (read.next(line))
        if (line.kind == TableLineKind::Corner) corners.push_back(PlanCornerOf(CornerInputOf(line.corner), job.settings));
    if (!read.error().isEmpty()) return Usage(read.error());
    return PlanBytes(path, corners, bytes);
}

/// The table's plan drawing, made before the run and put in place once the run has written its
/// files: a run that stops or fails leaves the previous drawing too.
Stop CommitPlan(const QString& path, const QByteArray& bytes)
{
    AtomicFile file(path);
    if (!file.open() || file.write(bytes) != bytes.size())
        return Usage(QStringLiteral("%1 に書けません: %2").arg(QDir::toNativeSeparators(path), file.reason()));
    const CommitReport report = CommitAll({&file});
    return report.ok() ? Stop{} : Usage(report.message());
}

Stop RunTable(const Args& a, const Job& job)
{
    BatchOutputs out{a.value("pdf"), a.value("sima"), a.value("csv"), a.value("dxf"), a.value("elements"), job.paper};
    out.dxfScale = job.dxfScale;
    if (out.pdf.isEmpty() && out.sima.isEmpty() && out.csv.isEmpty() && out.dxf.isEmpty() && out.elements.isEmpty())
        out.elements = QStringLiteral("-");
    InstallFontSubstitutions();
    if (!out.pdf.isEmpty()) WarnWithoutSheetFont();
    const QString table = a.value("batch");
    QByteArray plan;
    if (a.has("plan"))
        if (Stop st = TablePlan(table, job, a.value("plan"), plan); st.stops()) return st;
    BatchCallbacks callbacks;
    callbacks.refused = [&](const BatchRefusal& r) { Say(TableLineMessage(table, r.line, r.reason)); };
    callbacks.warned = [&](const BatchWarning& w) {
        for (const QString& line : w.lines) Say(TableLineMessage(table, w.line, QStringLiteral("警告: ") + line));
    };
    callbacks.cancelled = [] { return Interrupted(); };
    BatchResult r = RunBatch(table, job.settings, out, callbacks);
    // A signal may also end the run through the write it broke (SIGPIPE: the reader gone).
    r.cancelled = r.cancelled || (!r.failure.isEmpty() && Interrupted());
    if (!r.failure.isEmpty()) Say(r.failure);
    if (r.total > 0 || r.cancelled) Say(BatchSummary(r));
    // Said above already: only the status is left.
    if (r.cancelled) return {kSignalExitBase + InterruptSignal(), {}};
    if (!r.failure.isEmpty()) return {kUsage, {}};
    if (a.has("plan") && r.done > 0)
        if (Stop st = CommitPlan(a.value("plan"), plan); st.stops()) return st;
    return {r.refused > 0 ? kRefused : kOk, {}};
}

}  // namespace

int main(int argc, char** argv)
{
    // Past a file-size limit a write then fails with "file too large" and is reported, instead of
    // the signal ending the program.
    ReportFileSizeLimitAsError();
    // From the first moment, Ctrl-C, SIGTERM, SIGHUP and SIGPIPE stop the run between two steps
    // and leave no temporary file.
    CatchInterrupts();
    // Sheets are measured and drawn with the real fonts but never shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session the platform only notes that it picked a runtime folder itself; that note
    // is not for the user of a command-line tool, whose stderr carries the refusal reason.
    static QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& msg) {
            if (!msg.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) previous(type, context, msg);
        });
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tovanel"));

    Args a;
    if (Stop st = Parse(app.arguments(), a); st.stops()) return Report(st);
    if (a.has("help") || a.has("version")) {
        const QString text = a.has("help") ? HelpText() : QStringLiteral("tovanel-cli " TOVANEL_VERSION "\n");
        std::fputs(text.toUtf8().constData(), stdout);
        return Report(FinishStdout());
    }
    Job job;
    if (Stop st = Gather(a, job); st.stops()) return Report(st);
    if (a.batch) return Report(RunTable(a, job));
    std::vector<Piece> pieces;
    if (Stop st = Compute(a, job, pieces); st.stops()) return Report(st);
    return Report(Write(pieces));
}

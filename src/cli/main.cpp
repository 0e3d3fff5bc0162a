// SPDX-License-Identifier: GPL-3.0-or-later
// tovanel-cli: the trial calculation (and, as they come, the sheets) without windows.

#include "batch/batchrun.h"
#include "batch/cornertable.h"
#include "calc/corner.h"
#include "calc/settings.h"
#include "calc/curve.h"
#include "calc/elementlist.h"
#include "calc/listing.h"
#include "calc/numeric.h"
#include "calc/atomicfile.h"
#include "calc/settingsfile.h"
#include "exchange/dxfdrawing.h"
#include "exchange/pointfile.h"
#include "exchange/pointwriter.h"
#include "calc/exportlist.h"
#include "print/fonts.h"
#include "print/pagelayout.h"
#include "sheets/blocksheet.h"
#include "sheets/composition.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

using namespace tovanel;

namespace {

enum Exit { kOk = 0, kUsage = 2, kRefused = 3, kInterrupted = 130 };

const char kUsageText[] =
    "usage: tovanel-cli --bp X,Y --ip X,Y --ep X,Y --radius R [options]\n"
    "       tovanel-cli --points FILE --bp-name NAME --ip-name NAME --ep-name NAME --radius R [options]\n"
    "\n"
    "  --bp X,Y --ip X,Y --ep X,Y   the three points (X north, Y east)\n"
    "  --points FILE                take them by name from a SIMA (.sim) or CSV point file\n"
    "  --bp-name NAME --ip-name NAME --ep-name NAME\n"
    "                               the names of BP, IP and EP in that file\n"
    "  --radius R --inner W --outer W\n"
    "  --type 0|1|2|3               平行, 千鳥, 外接, 等曲率半径 (default: the settings file)\n"
    "  --ip-number TEXT             the IP number text\n"
    "  --divisions N                the division count (0 or absent: chosen from the limits)\n"
    "  --settings FILE              settings file (default: the program's own; built-in if none);\n"
    "                               \"1\" on its line 16 computes azimuths exactly\n"
    "  --elements                   the computed elements, one Name=value line each (default)\n"
    "  --listing                    the trial listing: x TAB y TAB colour TAB text per line\n"
    "  --export FILE|-              the point list the preview's close button puts on the clipboard\n"
    "  --pdf FILE                   the calculation sheets as PDF\n"
    "  --paper A4|A3|B4|B5          paper the sheets are laid out for (default A4)\n"
    "  --sima FILE|-                the exported points as a SIMA coordinate file (CP932, CR LF)\n"
    "  --csv FILE|-                 the exported points as a CSV point file (CP932, CR LF)\n"
    "  --dxf FILE                   the corner as a DXF drawing: tangents, arcs, staking paths, points\n"
    "  --help, --version\n"
    "\n"
    "  tovanel-cli --batch TABLE [--settings FILE] [--paper P] [--pdf FILE] [--sima FILE|-]\n"
    "              [--csv FILE|-] [--dxf FILE] [--elements FILE|-]\n"
    "  --batch TABLE                every corner of a corner table (CSV or TAB-separated), one per line:\n"
    "                               IP number, BP X, BP Y, IP X, IP Y, EP X, EP Y, radius, inner width,\n"
    "                               outer width, type 0..3, division count (empty or 0: chosen), and\n"
    "                               optionally the BP, IP and EP names; a first line with no number in\n"
    "                               its number columns is a header. IP numbers must differ. --pdf is one document of every corner (each\n"
    "                               from a new page), --sima/--csv/--dxf one file of every corner's\n"
    "                               points (numbers run on), --elements one UTF-8 CSV line per corner:\n"
    "                               IPNo and the elements above (default: --elements -). A refused\n"
    "                               line is reported with its number and the run goes on; a summary\n"
    "                               ends it. Ctrl-C stops the run and writes nothing.\n"
    "\n"
    "Option values follow the input boxes' rule: the leading number of the text, 0 when there is none.\n"
    "Numbers in tables and point files are read whole or the line is refused: plain decimals,\n"
    "full-width digits, thousands separators that group by three (-123,455.670).\n"
    "Tables and point files are read in CP932, UTF-8 or UTF-16 (with its byte order mark);\n"
    "every file is replaced only once written whole.\n"
    "Exit status: 0 done; 2 usage error, unreadable point file, corner table or unwritable output;\n"
    "3 input the calculation refuses, a point name the file cannot hold, or a refused table line.\n";

void Print(FILE* to, const QString& text) { std::fputs(text.toUtf8().constData(), to); }

int Fail(Exit code, const QString& why)
{
    Print(stderr, QStringLiteral("tovanel-cli: ") + why + QLatin1Char('\n'));
    return code;
}

/// Writes an output: "-" is standard output, anything else a file replaced as a whole.
QString WriteOutput(const QString& target, const QByteArray& bytes)
{
    if (target == QLatin1String("-")) {
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        return std::fflush(stdout) == 0 ? QString() : QStringLiteral("標準出力に書けません。");
    }
    const QString why = WriteFileAtomically(target, bytes);
    return why.isEmpty() ? why : target + QStringLiteral(": ") + why;
}

void PrintElements(const CornerElements& s)
{
    std::string text;
    for (const auto& [name, value] : ElementList(s)) {
        text += name;
        text += '=';
        AppendFullDigits(text, value);
        text += '\n';
    }
    std::fputs(text.c_str(), stdout);
}

/// --batch: every corner of the table; refused lines are reported as they come, the summary last.
int RunTable(std::map<QString, QString>& opt, const Settings& settings, int paperCode)
{
    for (const char* single : {"--bp", "--ip", "--ep", "--radius", "--inner", "--outer", "--type", "--ip-number",
                               "--divisions", "--points", "--bp-name", "--ip-name", "--ep-name", "--listing", "--export"})
        if (opt.count(single))
            return Fail(kUsage, QString::fromLatin1(single) + QStringLiteral(" cannot be used with --batch: the table gives every corner"));
    BatchOutputs out{opt["--pdf"], opt["--sima"], opt["--csv"], opt["--dxf"], opt["--elements"], paperCode};
    if (out.pdf.isEmpty() && out.sima.isEmpty() && out.csv.isEmpty() && out.dxf.isEmpty() && out.elements.isEmpty())
        out.elements = QStringLiteral("-");
    InstallFontSubstitutions();
    if (!out.pdf.isEmpty() && !SheetFontAvailable())
        Print(stderr, QStringLiteral("tovanel-cli: IPAMincho is not installed; columns will not line up\n"));
    // Ctrl-C stops the run like the window's cancel: no output is left half-written.
    CatchInterrupts();
    const QString table = opt["--batch"];
    BatchCallbacks callbacks;
    callbacks.refused = [&](const BatchRefusal& r) { Fail(kOk, TableLineMessage(table, r.line, r.reason)); };
    callbacks.cancelled = [] { return Interrupted(); };
    const BatchResult r = RunBatch(table, settings, out, callbacks);
    if (!r.failure.isEmpty()) Fail(kOk, r.failure);
    if (r.total > 0) Fail(kOk, BatchSummary(r));
    if (r.cancelled) return kInterrupted;
    if (!r.failure.isEmpty()) return kUsage;
    return r.refused > 0 ? kRefused : kOk;
}

// Standard output that could not be written (a full disk, a closed pipe) is a failure, not a
// success with a short result.
int FinishStdout(int status)
{
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int err = errno;
        return Fail(kUsage, QStringLiteral("cannot write standard output: ") + FileErrorText(err));
    }
    return status;
}

}  // namespace

int main(int argc, char** argv)
{
    // Past a file-size limit a write then fails with "file too large" and is reported, instead of
    // the signal ending the program.
    ReportFileSizeLimitAsError();
    // Sheets are measured and drawn with the real fonts but never shown.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a session the platform only notes that it picked a runtime folder itself; that note
    // is not for the user of a command-line tool, whose stderr carries the refusal reason.
    static QtMessageHandler previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& msg) {
            if (!msg.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR")))
                previous(type, context, msg);
        });
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Tovanel"));

    std::map<QString, QString> opt;  // option → value ("" for flags)
    QStringList valued = {"--bp", "--ip", "--ep", "--radius", "--inner", "--outer", "--type",
                          "--ip-number", "--divisions", "--settings", "--export", "--pdf",
                          "--paper", "--sima", "--csv", "--dxf", "--points", "--bp-name",
                          "--ip-name", "--ep-name", "--batch"};
    QStringList flags = {"--elements", "--listing", "--help", "--version"};
    const QStringList args = app.arguments().mid(1);
    // A run of a corner table writes its elements to a file (or "-") like its other outputs.
    const bool batch = std::any_of(args.begin(), args.end(), [](const QString& a) {
        return a == QLatin1String("--batch") || a.startsWith(QLatin1String("--batch="));
    });
    if (batch) valued << flags.takeFirst();
    for (qsizetype i = 0; i < args.size(); ++i) {
        QString name = args[i];
        QString value;
        if (const qsizetype eq = name.indexOf(QLatin1Char('=')); name.startsWith("--") && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            if (!valued.contains(name)) return Fail(kUsage, name + QStringLiteral(" takes no value"));
        } else if (valued.contains(name)) {
            if (i + 1 >= args.size()) return Fail(kUsage, name + QStringLiteral(" needs a value"));
            value = args[++i];
        } else if (!flags.contains(name)) {
            return Fail(kUsage, QStringLiteral("unknown option ") + name + QStringLiteral(" (see --help)"));
        }
        opt[name] = value;
    }
    if (opt.count("--help")) {
        Print(stdout, QString::fromUtf8(kUsageText));
        return kOk;
    }
    if (opt.count("--version")) {
        Print(stdout, QStringLiteral("tovanel-cli " TOVANEL_VERSION "\n"));
        return kOk;
    }
    const qsizetype toStdout = std::count_if(opt.begin(), opt.end(), [](const auto& o) {
        return o.second == QLatin1String("-") &&
               QStringList{"--export", "--sima", "--csv", "--dxf", "--elements"}.contains(o.first);
    });
    if (toStdout > 1) return Fail(kUsage, QStringLiteral("only one output can go to standard output (-)"));
    int paperCode = kPaperA4;
    if (opt.count("--paper")) {
        const std::map<QString, int> papers = {
            {"A4", kPaperA4}, {"A3", kPaperA3}, {"B4", kPaperB4}, {"B5", kPaperB5}};
        const auto it = papers.find(opt["--paper"].toUpper());
        if (it == papers.end()) return Fail(kUsage, QStringLiteral("--paper takes A4, A3, B4 or B5"));
        paperCode = it->second;
    }

    Settings s;
    const QString appDir = QCoreApplication::applicationDirPath();
    if (opt.count("--settings")) {
        if (!QFileInfo::exists(opt["--settings"]))
            return Fail(kUsage, QStringLiteral("no settings file ") + opt["--settings"]);
        for (const QString& n : ReadSettings(opt["--settings"], s)) Fail(kOk, n);
    } else {
        // Where the program finds them, read only: the command line never creates the user's file.
        const QString path = LocateSettings(appDir, UserSettingsDir()).current();
        if (!path.isEmpty()) {
            for (const QString& n : ReadSettings(path, s)) Fail(kOk, n);
        } else {
            s = DefaultSettings();
        }
    }

    if (batch) return RunTable(opt, s, paperCode);

    Corner k;
    CornerInput& in = k.in;
    const std::pair<const char*, std::pair<double*, double*>> points[] = {
        {"--bp", {&in.BpX, &in.BpY}}, {"--ip", {&in.IpX, &in.IpY}}, {"--ep", {&in.EpX, &in.EpY}}};
    if (opt.count("--points")) {
        const QString file = opt["--points"];
        for (const auto& [name, row] : points) {
            if (opt.count(name))
                return Fail(kUsage, QStringLiteral("--points replaces ") + QString::fromLatin1(name));
            if (!opt.count(QString::fromLatin1(name) + QStringLiteral("-name")))
                return Fail(kUsage, QStringLiteral("--points needs --bp-name, --ip-name and --ep-name"));
        }
        const PointFileRead read = LoadPointFile(file);
        if (!read.ok()) return Fail(kUsage, PointFileMessage(file, read));
        for (const auto& [name, row] : points) {
            const FilePoint* p = nullptr;
            if (QString why = FindPoint(file, read, opt[QString::fromLatin1(name) + QStringLiteral("-name")], p);
                !why.isEmpty())
                return Fail(kUsage, why);
            *row.first = p->x;
            *row.second = p->y;
        }
    } else {
        for (const char* name : {"--bp-name", "--ip-name", "--ep-name"})
            if (opt.count(name)) return Fail(kUsage, QString::fromLatin1(name) + QStringLiteral(" needs --points"));
        for (const auto& [name, row] : points) {
            if (!opt.count(name)) return Fail(kUsage, QString::fromLatin1(name) + QStringLiteral(" is required"));
            const QString v = opt[name];
            const qsizetype comma = v.indexOf(QLatin1Char(','));
            if (comma < 0) return Fail(kUsage, QString::fromLatin1(name) + QStringLiteral(" takes X,Y"));
            *row.first = LeadingNumber(v.left(comma));
            *row.second = LeadingNumber(v.mid(comma + 1));
        }
    }
    if (!opt.count("--radius")) return Fail(kUsage, QStringLiteral("--radius is required"));
    in.Radius = LeadingNumber(opt["--radius"]);
    in.WidthIn = LeadingNumber(opt["--inner"]);
    in.WidthOut = LeadingNumber(opt["--outer"]);
    const QString ipNumber = opt["--ip-number"];
    // The IP number becomes part of every exported point name: a TAB or a line end there would
    // shift the CAD's columns or split a line.
    if (HasFieldBreak(ipNumber)) return Fail(kUsage, QStringLiteral("--ip-number may not hold a TAB, CR or LF"));
    in.IPNo = ipNumber;
    const double type = std::nearbyint(LeadingNumber(opt.count("--type") ? opt["--type"] : s.rememberedType()));
    in.CalcType = static_cast<int16_t>(type >= -1 && type <= 3 ? type : -1);
    in.DivCount = LeadingNumber(opt["--divisions"]);

    Listing listing;
    if (QString why = S_CRT(in, s, k.el, listing); !why.isEmpty()) return Fail(kRefused, why);

    if (opt.count("--listing")) {
        for (const ListingText& t : listing.texts)
            Print(stdout, QStringLiteral("%1\t%2\t%3\t%4\n").arg(t.x).arg(t.y).arg(t.colour).arg(t.text));
    }
    const QStringList outputs = {"--export", "--pdf", "--sima", "--csv", "--dxf"};
    const bool sheets = std::any_of(outputs.begin(), outputs.end(), [&](const QString& o) { return opt.count(o) > 0; });
    if (opt.count("--elements") || !(opt.count("--listing") || sheets)) PrintElements(k.el);
    if (!sheets) return FinishStdout(kOk);

    InstallFontSubstitutions();
    PageLayout pl;
    pl.setPaperSize(paperCode);
    const Composition composed = ComposeDocument(k, s, pl);
    if (!composed.refusal.isEmpty()) return Fail(kRefused, composed.refusal);
    const std::vector<ExportPoint> exported = ExportPoints(composed.exports);
    const std::pair<const char*, std::function<QString(QByteArray&)>> files[] = {
        {"--export", [&](QByteArray& b) { return b = BuildExportText(composed.exports, s).text.toUtf8(), QString(); }},
        {"--sima", [&](QByteArray& b) { return SimaFile(exported, ipNumber, b); }},
        {"--csv", [&](QByteArray& b) { return CsvFile(exported, b); }},
        {"--dxf", [&](QByteArray& b) { return DxfFile({CornerOf(k, composed.exports, BlockExportCounts(k))}, b); }},
    };
    // Every file is made before the first is written: a refused name leaves none behind.
    std::vector<std::pair<QString, QByteArray>> made;
    for (const auto& [name, make] : files) {
        if (!opt.count(name)) continue;
        QByteArray bytes;
        if (QString why = make(bytes); !why.isEmpty()) return Fail(kRefused, why);
        made.emplace_back(opt[name], std::move(bytes));
    }
    for (const auto& [target, bytes] : made)
        if (QString why = WriteOutput(target, bytes); !why.isEmpty()) return Fail(kUsage, why);
    if (opt.count("--pdf")) {
        if (!SheetFontAvailable())
            Print(stderr, QStringLiteral("tovanel-cli: IPAMincho is not installed; columns will not line up\n"));
        if (QString why = pl.writePdf(opt["--pdf"]); !why.isEmpty()) return Fail(kUsage, why);
    }
    return FinishStdout(kOk);
}

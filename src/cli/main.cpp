// tovanel-cli: the trial calculation (and, as they come, the sheets) without windows.

#include "calc/calcstate.h"
#include "calc/curve.h"
#include "calc/listing.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "print/exportlist.h"
#include "print/fonts.h"
#include "print/pagelayout.h"
#include "sheets/composition.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>

using namespace tovanel;

namespace {

enum Exit { kOk = 0, kUsage = 2, kRefused = 3 };

const char kUsageText[] =
    "usage: tovanel-cli --bp X,Y --ip X,Y --ep X,Y --radius R [options]\n"
    "\n"
    "  --bp X,Y --ip X,Y --ep X,Y   the three points (X north, Y east)\n"
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
    "  --help, --version\n"
    "\n"
    "Numbers follow the input boxes' rule: the leading number of the text, 0 when there is none.\n"
    "Exit status: 0 done, 2 usage error, 3 input the calculation refuses.\n";

void Print(FILE* to, const QString& text) { std::fputs(text.toUtf8().constData(), to); }

int Fail(Exit code, const QString& why)
{
    Print(stderr, QStringLiteral("tovanel-cli: ") + why + QLatin1Char('\n'));
    return code;
}

QString Full(double v) { return QString::number(v, 'g', 17); }

void PrintElements(const CalcState& s)
{
    const std::pair<const char*, double> rows[] = {
        {"AzIn", s.AzIn},       {"AzOut", s.AzOut},   {"IA", s.IA},           {"IAWork", s.IAWork},
        {"TurnSign", s.TurnSign}, {"RadSigned", s.RadSigned}, {"TL", s.TL},   {"CL", s.CL},
        {"HalfCL", s.HalfCL},   {"SL", s.SL},         {"M", s.M},             {"DistIn", s.DistIn},
        {"BcX", s.BcX},         {"BcY", s.BcY},       {"SpX", s.SpX},         {"SpY", s.SpY},
        {"EcX", s.EcX},         {"EcY", s.EcY},       {"CenX", s.CenX},       {"CenY", s.CenY},
        {"AzCenIP", s.AzCenIP}, {"TanAX", s.TanAX},   {"TanAY", s.TanAY},     {"TanBX", s.TanBX},
        {"TanBY", s.TanBY},     {"DivCount", s.DivCount}, {"IaPerDiv", s.IaPerDiv},
        {"IaHalfDiv", s.IaHalfDiv},
    };
    for (const auto& [name, value] : rows)
        Print(stdout, QString::fromLatin1(name) + QLatin1Char('=') + Full(value) + QLatin1Char('\n'));
}

}  // namespace

int main(int argc, char** argv)
{
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
    const QStringList valued = {"--bp", "--ip", "--ep", "--radius", "--inner", "--outer", "--type",
                                "--ip-number", "--divisions", "--settings", "--export", "--pdf",
                                "--paper"};
    const QStringList flags = {"--elements", "--listing", "--help", "--version"};
    const QStringList args = app.arguments().mid(1);
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
    int paperCode = kPaperA4;
    if (opt.count("--paper")) {
        const std::map<QString, int> papers = {
            {"A4", kPaperA4}, {"A3", kPaperA3}, {"B4", kPaperB4}, {"B5", kPaperB5}};
        const auto it = papers.find(opt["--paper"].toUpper());
        if (it == papers.end()) return Fail(kUsage, QStringLiteral("--paper takes A4, A3, B4 or B5"));
        paperCode = it->second;
    }

    CalcState s;
    InitConstants(s);
    s.AppDir = QCoreApplication::applicationDirPath();
    if (opt.count("--settings")) {
        if (!QFileInfo::exists(opt["--settings"]))
            return Fail(kUsage, QStringLiteral("no settings file ") + opt["--settings"]);
        for (const QString& n : ReadSettings(opt["--settings"], s)) Fail(kOk, n);
    } else {
        const QString path = QDir(s.AppDir).filePath(QString::fromLatin1(kSettingsFileName));
        if (QFileInfo::exists(path)) {
            for (const QString& n : ReadSettings(path, s)) Fail(kOk, n);
        } else {
            DefaultSettings(s);
        }
    }

    for (const char* point : {"--bp", "--ip", "--ep"})
        if (!opt.count(point)) return Fail(kUsage, QString::fromLatin1(point) + QStringLiteral(" is required"));
    if (!opt.count("--radius")) return Fail(kUsage, QStringLiteral("--radius is required"));
    const std::pair<const char*, int> points[] = {{"--bp", kBP}, {"--ip", kIP}, {"--ep", kEP}};
    for (const auto& [name, row] : points) {
        const QString v = opt[name];
        const qsizetype comma = v.indexOf(QLatin1Char(','));
        if (comma < 0) return Fail(kUsage, QString::fromLatin1(name) + QStringLiteral(" takes X,Y"));
        s.CurveIn[row][kX] = LeadingNumber(v.left(comma));
        s.CurveIn[row][kY] = LeadingNumber(v.mid(comma + 1));
    }
    s.CurveIn[kIP][kRadius] = LeadingNumber(opt["--radius"]);
    s.CurveIn[kIP][kWidthIn] = LeadingNumber(opt["--inner"]);
    s.CurveIn[kIP][kWidthOut] = LeadingNumber(opt["--outer"]);
    const QString ipNumber = opt["--ip-number"];
    s.CurveIn[kIP][kNumber] = LeadingNumber(ipNumber);
    s.IPNo = [ipNumber] { return ipNumber; };
    const double type = std::nearbyint(LeadingNumber(opt.count("--type") ? opt["--type"] : s.IniStr[4]));
    s.CalcType = static_cast<int16_t>(type >= -1 && type <= 3 ? type : -1);
    const QString typeNames[] = {"平行", "千鳥", "外接", "等曲率半径"};
    s.CalcTypeName = s.CalcType >= 0 ? typeNames[s.CalcType] : QString();
    s.DivCount = LeadingNumber(opt["--divisions"]);

    Listing listing;
    if (QString why = S_CRT(s, listing); !why.isEmpty()) return Fail(kRefused, why);

    if (opt.count("--listing")) {
        for (const ListingText& t : listing.texts)
            Print(stdout, QStringLiteral("%1\t%2\t%3\t%4\n").arg(t.x).arg(t.y).arg(t.colour).arg(t.text));
    }
    const bool sheets = opt.count("--export") || opt.count("--pdf");
    if (opt.count("--elements") || !(opt.count("--listing") || sheets)) PrintElements(s);
    if (!sheets) return kOk;

    InstallFontSubstitutions();
    PageLayout pl;
    pl.setPaperSize(paperCode);
    if (QString why = ComposeDocument(s, pl); !why.isEmpty()) return Fail(kRefused, why);
    if (opt.count("--export")) {
        const QByteArray text = BuildExportText(s).text.toUtf8();
        if (opt["--export"] == QLatin1String("-")) {
            std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
            std::fflush(stdout);
        } else {
            QFile f(opt["--export"]);
            if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size() || !f.flush())
                return Fail(kUsage, QStringLiteral("cannot write ") + opt["--export"]);
        }
    }
    if (opt.count("--pdf")) {
        if (!SheetFontAvailable())
            Print(stderr, QStringLiteral("tovanel-cli: IPAMincho is not installed; columns will not line up\n"));
        if (QString why = pl.writePdf(opt["--pdf"]); !why.isEmpty()) return Fail(kUsage, why);
    }
    return kOk;
}

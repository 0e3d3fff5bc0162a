// tovanel-cli's sheet options, run as a user would run them: the refusals (no type selected,
// fractional or too many divisions), the export text, and a PDF whose text is real text in the
// Mincho font.

#include "print/fonts.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct Result { int status; QByteArray out, err; };

Result Exec(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(), p.readAllStandardError()};
}

Result Cli(const QStringList& extra)
{
    return Exec(TOVANEL_CLI, QStringList{"--bp", "0,0", "--ip", "100,100", "--ep", "0,200", "--radius", "100",
                                         "--inner", "3", "--outer", "3", "--ip-number", "12"} + extra);
}

TEST(CliSheets, RefusalsExportTextAndPdf)
{
    const std::pair<QStringList, int> failures[] = {
        {{"--type", "7", "--export", "-"}, 3},       {{"--divisions", "2.5", "--export", "-"}, 3},
        {{"--divisions", "1001", "--export", "-"}, 3}, {{"--type", "3", "--divisions", "1.5", "--export", "-"}, 3},
        {{"--paper", "A5", "--export", "-"}, 2},     {{"--type", "0", "--pdf", "/no/such/folder/x.pdf"}, 2}};
    for (const auto& [args, status] : failures) {
        const Result e = Cli(args);
        EXPECT_EQ(e.status, status) << args.join(' ').toStdString();
        EXPECT_TRUE(e.out.isEmpty()) << "nothing composed";
        EXPECT_EQ(e.err.count('\n'), 1) << "one line: " << e.err.toStdString();
    }

    const Result r = Cli({"--type", "1", "--divisions", "8", "--export", "-"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.count("\r\n"), 4 + 9 + 9 + 10) << "centre and inner N + 1, outer polygon N + 2";

    QTemporaryDir dir;
    const QString file = dir.filePath("points.txt"), pdf = dir.filePath("sheets.pdf");
    ASSERT_EQ(Cli({"--type", "1", "--divisions", "8", "--export", file, "--pdf", pdf}).status, 0);
    QFile in(file);
    EXPECT_TRUE(in.open(QIODevice::ReadOnly) && in.readAll() == r.out) << "the same text in the file";
    if (!tovanel::SheetFontAvailable() || QStandardPaths::findExecutable("pdftotext").isEmpty())
        GTEST_SKIP() << "reading the PDF needs IPAMincho and poppler-utils";
    const QString text = QString::fromUtf8(Exec("pdftotext", {"-layout", pdf, "-"}).out);
    for (const char* expected : {"Tovanel", "役杭略図縮尺 S=1/", "街 区 点 曲 線 計 算 書", "12CBC", "12OEC", "[ 型 千鳥方式 ]"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(text.count('\f'), 4) << "the elements sheet and a page for each kind";
    EXPECT_TRUE(Exec("pdffonts", {pdf}).out.contains("IPAMincho"));
}

}  // namespace

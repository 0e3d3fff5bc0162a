// tovanel-cli's sheet options, run as a user would run them.

#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status;
    QByteArray out, err;
};

CliRun Cli(const QStringList& extra)
{
    const QStringList corner = {"--bp", "0,0", "--ip", "100,100", "--ep", "0,200", "--radius",
                                "100", "--inner", "3", "--outer", "3", "--ip-number", "12"};
    QProcess p;
    p.start(TOVANEL_CLI, corner + extra);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

TEST(CliSheets, ExportPdfAndRefusals)
{
    const CliRun r = Cli({"--type", "2", "--divisions", "4", "--export", "-"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("\tBC 12\t")) << "shipped settings: the second edition";
    EXPECT_EQ(r.out.count("\r\n"), 4 + 3 * 6);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();

    QTemporaryDir dir;
    const QString file = dir.filePath("points.txt"), pdf = dir.filePath("sheets.pdf");
    const CliRun f = Cli({"--type", "2", "--divisions", "4", "--export", file, "--pdf", pdf,
                          "--paper", "B5"});
    ASSERT_EQ(f.status, 0) << f.err.toStdString();
    QFile in(file), out(pdf);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly) && out.open(QIODevice::ReadOnly));
    EXPECT_EQ(in.readAll(), r.out);
    EXPECT_EQ(out.read(5), "%PDF-");

    const std::pair<QStringList, int> failures[] = {
        {{"--type", "7", "--export", "-"}, 3},
        {{"--divisions", "2.5", "--export", "-"}, 3},
        {{"--paper", "A5", "--export", "-"}, 2},
        {{"--type", "0", "--pdf", "/no/such/folder/x.pdf"}, 2},
    };
    for (const auto& [args, status] : failures) {
        const CliRun e = Cli(args);
        EXPECT_EQ(e.status, status) << args.join(' ').toStdString();
        EXPECT_TRUE(e.out.isEmpty());
        EXPECT_EQ(e.err.count('\n'), 1) << "one line: " << e.err.toStdString();
    }
}

}  // namespace

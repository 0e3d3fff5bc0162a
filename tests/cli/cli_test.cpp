// End to end: the built tovanel-cli, its output and its exit statuses.

#include <QProcess>
#include <QTemporaryDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct CliRun {
    int status = -1;
    QString out, err;
};

CliRun Cli(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(TOVANEL_CLI), args);
    CliRun r;
    if (!p.waitForFinished(30000)) {
        p.kill();
        return r;
    }
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString Settings(QTemporaryDir& dir, const char* limitM, const char* limitLP)
{
    const QString path = dir.filePath("F.INI");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(QByteArray("4\r\n3\r\n") + limitM + "\r\n" + limitLP +
            "\r\n0.01\r\n0\r\n0\r\n0\r\n0\r\n0\r\n\"C\"\r\n\"I\"\r\n\"O\"\r\n\"0\"\r\n\"2\"\r\n"
            "\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
    return path;
}

const QStringList kCorner = {"--bp", "0,0", "--ip", "100,100", "--ep", "0,200", "--radius", "100"};

TEST(Cli, ElementsOfTheWorkedExample)
{
    QTemporaryDir dir;
    const CliRun r = Cli(kCorner + QStringList{"--settings", Settings(dir, "0.5", "20"), "--elements"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("\nDivCount=8\n"));
    EXPECT_TRUE(r.out.contains("\nTurnSign=1\n"));
    EXPECT_TRUE(r.out.contains("\nIA=89.99999999")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\nSpY=99.9989")) << r.out.toStdString();
    EXPECT_EQ(r.out.count('\n'), 28);
}

TEST(Cli, ListingLines)
{
    QTemporaryDir dir;
    const CliRun r = Cli(kCorner + QStringList{"--settings", Settings(dir, "0.5", "19"), "--divisions",
                                            "8", "--ip-number", "7", "--listing"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("20\t10\t0\t** 設定曲線試算 **\n50\t80\t0\tIPNO.7\n")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("\n310\t700\t255\t   19.6350\n")));
    EXPECT_FALSE(r.out.contains("DivCount=")) << "only what was asked for";
}

struct ExitCase {
    const char* name;
    QStringList args;
    int status;
};

TEST(Cli, ExitStatuses)
{
    QTemporaryDir dir;
    const ExitCase cases[] = {
        {"help", {"--help"}, 0},
        {"version", {"--version"}, 0},
        {"unknown option", kCorner + QStringList{"--frobnicate"}, 2},
        {"missing point", {"--bp", "0,0", "--radius", "5"}, 2},
        {"point without comma", QStringList{"--bp", "0", "--ip", "1,1", "--ep", "0,2", "--radius", "1"}, 2},
        {"value missing", kCorner + QStringList{"--divisions"}, 2},
        {"zero limit", kCorner + QStringList{"--settings", Settings(dir, "0", "20")}, 3},
        {"negative count", kCorner + QStringList{"--divisions", "-3"}, 3},
        {"zero limit with a given count", kCorner + QStringList{"--settings", Settings(dir, "0", "20"), "--divisions", "4"}, 0},
    };
    for (const auto& c : cases) {
        const CliRun r = Cli(c.args);
        EXPECT_EQ(r.status, c.status) << c.name << ": " << r.err.toStdString();
        if (c.status != 0) {
            EXPECT_EQ(r.err.count('\n'), 1) << c.name << ": one line of reason";
        }
    }
}

}  // namespace

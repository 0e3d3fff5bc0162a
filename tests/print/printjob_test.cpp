#include "print/pagelayout.h"
#include "print/printjob.h"

#include <QDateTime>
#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

namespace tovanel::test {
namespace {

TEST(PrintJob, QueueAndRangeChoices)
{
    const QStringList two{QStringLiteral("A"), QStringLiteral("B")};
    EXPECT_EQ(ResolvePrinterName("C", two, "B"), "B");  // a queue gone: the default
    struct Range {
        int from, to, pages;
        bool fine;
    };
    for (const Range& r : {Range{1, 1, 1, true}, Range{2, 3, 5, true}, Range{4, 2, 5, false},
                           Range{1, 0, 0, false}, Range{0, 2, 5, false}, Range{1, 6, 5, false}})
        EXPECT_EQ(PageRangeProblem(r.from, r.to, r.pages).isEmpty(), r.fine) << r.from << ".." << r.to;

    PageLayout pl;
    pl.startDoc();
    pl.endDoc();
    for (const QString& queue : {QString(), QStringLiteral("no-such-queue-%1").arg(QUuid::createUuid().toString())})
        EXPECT_TRUE(PrintPages(pl, queue, 1, 1).startsWith(QStringLiteral("使用できるプリンタがありません")));
}

QString Output(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput())
                                                         : QString();
}

bool HaveQueue(const QString& queue)
{
    return QPrinterInfo::availablePrinterNames().contains(queue);
}

#define SKIP_WITHOUT_QUEUE(queue)                                                            \
    if (!HaveQueue(queue))                                                                   \
    GTEST_SKIP() << "no print queue named " << QString(queue).toStdString()                  \
                 << " (scripts/printqueue.sh sets it up as root with CUPS and cups-pdf)"

TEST(PrintJob, AQueueThatRefusesJobsIsReportedNotTakenForDone)
{
    SKIP_WITHOUT_QUEUE(QStringLiteral("TovanelRejects"));
    PageLayout pl;
    pl.startDoc();
    pl.endDoc();
    EXPECT_EQ(PrintPages(pl, QStringLiteral("TovanelRejects"), 1, 1),
              QStringLiteral("プリンタ「TovanelRejects」は現在印刷を受け付けていません。プリンタの状態を確認してください。"));
}

// The queue the test command sets up hands every job to cups-pdf, which writes it as a PDF file
// into the job owner's ~/PDF/; the file is read back here.
TEST(PrintJob, ARealQueueReceivesExactlyTheChosenPagesInLandscape)
{
    const QString queue = qEnvironmentVariable("TOVANEL_TEST_PRINTER", QStringLiteral("PDF"));
    SKIP_WITHOUT_QUEUE(queue);
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext missing (package poppler-utils)";
    // cups-pdf writes into the home folder the password database gives, whatever HOME says.
    const passwd* user = getpwuid(getuid());
    const QString home = user ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath();
    const QDir out(qEnvironmentVariable("TOVANEL_TEST_PRINT_DIR", home + QStringLiteral("/PDF")));

    const QString token = QUuid::createUuid().toString(QUuid::Id128);
    PageLayout pl;
    pl.setOrientation(kLandscape);
    pl.setFontName(QStringLiteral("ＭＳ 明朝"));
    pl.setDocName(kPrintDocName);
    pl.startDoc();
    for (int k = 1; k <= 4; ++k) {
        if (k > 1) pl.newPage();
        pl.setCurrentX(1440);  // an inch from the sheet's top left corner
        pl.setCurrentY(1440);
        pl.text(QStringLiteral("PAGE%1 %2 曲線要素").arg(k).arg(token));
    }
    pl.endDoc();
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    ASSERT_EQ(PrintPages(pl, queue, 2, 3), QString());

    QString arrived;  // the job passes the scheduler and the PDF back end first
    for (int i = 0; i < 600 && arrived.isEmpty(); ++i) {
        QThread::msleep(100);
        for (const QFileInfo& f : out.entryInfoList({QStringLiteral("*.pdf")}, QDir::Files))
            if (f.lastModified() >= started && Output("pdftotext", {f.filePath(), "-"}).contains(token))
                arrived = f.filePath();
    }
    ASSERT_FALSE(arrived.isEmpty()) << "no job arrived in " << out.path().toStdString();
    // cups-pdf names the file for the job: "票印刷" as the octal numbers of its UTF-8 bytes.
    EXPECT_TRUE(QFileInfo(arrived).fileName().startsWith("347_245_250_345_215_260_345_210_267"))
        << arrived.toStdString();

    const QRegularExpression pageRe(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\""));
    const QRegularExpression wordRe(QStringLiteral(
        "xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">PAGE(\\d)<"));
    const QString html = Output("pdftotext", {"-bbox", arrived, "-"});
    EXPECT_EQ(html.count(pageRe), 2) << "pages 2 and 3 only";
    const QRegularExpressionMatch p = pageRe.match(html);
    const double pw = p.captured(1).toDouble(), ph = p.captured(2).toDouble();
    int expectedPage = 2;
    for (auto it = wordRe.globalMatch(html); it.hasNext(); ++expectedPage) {
        const QRegularExpressionMatch w = it.next();
        const QRectF box(QPointF(w.captured(1).toDouble(), w.captured(2).toDouble()),
                         QPointF(w.captured(3).toDouble(), w.captured(4).toDouble()));
        EXPECT_EQ(w.captured(5).toInt(), expectedPage);
        // A4 in landscape: on landscape media, or turned on portrait media with the text running
        // up the long side; either way an inch (72 pt) from the sheet's top left corner.
        EXPECT_NEAR(std::max(pw, ph), 841.9, 1);
        EXPECT_NEAR(std::min(pw, ph), 595.3, 1);
        if (pw < ph) {
            EXPECT_GT(box.height(), box.width());
            EXPECT_NEAR(std::min(box.top(), ph - box.bottom()), 72, 3);
            EXPECT_NEAR(std::min(box.left(), pw - box.right()), 72, 3);
        } else {
            EXPECT_NEAR(box.left(), 72, 3);
            EXPECT_NEAR(box.top(), 72, 3);
        }
    }
    EXPECT_EQ(expectedPage, 4);
    if (!HasFailure()) QFile::remove(arrived);  // kept for a look when something is wrong
}

}  // namespace
}  // namespace tovanel::test

#include "print/pagelayout.h"
#include "print/printjob.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRectF>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>

namespace tovanel::test {
namespace {

TEST(ResolvePrinterName, PreferredThenDefaultThenFirstThenNone)
{
    struct Case {
        const char* name;
        QString preferred;
        QStringList available;
        QString platformDefault;
        QString expected;
    };
    const QStringList two{QStringLiteral("A"), QStringLiteral("B")};
    const Case cases[] = {
        {"PreferredOffered", "B", two, "A", "B"},
        {"PreferredGoneUsesDefault", "C", two, "B", "B"},
        {"NoPreferenceUsesDefault", "", two, "B", "B"},
        {"DefaultGoneUsesFirst", "", two, "C", "A"},
        {"NoDefaultUsesFirst", "", two, "", "A"},
        {"NothingOffered", "A", {}, "A", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolvePrinterName(c.preferred, c.available, c.platformDefault), c.expected)
            << c.name;
}

TEST(PageRangeProblem, OnlyRangesHoldingAPageAreFine)
{
    struct Case {
        int from, to, pages;
        bool fine;
    };
    const Case cases[] = {
        {1, 1, 1, true},  {1, 5, 5, true},  {2, 3, 5, true},  {5, 5, 5, true},
        {4, 2, 5, false}, {1, 0, 0, false}, {0, 2, 5, false}, {1, 6, 5, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PageRangeProblem(c.from, c.to, c.pages).isEmpty(), c.fine)
            << c.from << ".." << c.to << " of " << c.pages;
}

TEST(PrintPages, RefusesWithoutTouchingAQueueWhenThereIsNothingToPrintOrNoQueue)
{
    PageLayout pl;
    EXPECT_EQ(PrintPages(pl, QStringLiteral("PDF"), 1, 1), QStringLiteral("印刷する頁がありません。"));
    pl.startDoc();
    pl.endDoc();
    EXPECT_TRUE(PrintPages(pl, QString(), 1, 1).startsWith(QStringLiteral("使用できるプリンタがありません")));
    EXPECT_TRUE(PrintPages(pl, QStringLiteral("no-such-queue-") + QUuid::createUuid().toString(), 1, 1)
                    .startsWith(QStringLiteral("使用できるプリンタがありません")));
}

TEST(PrintPages, AQueueThatRefusesJobsIsReportedNotTakenForDone)
{
    const QString queue = QStringLiteral("TovanelRejects");
    if (!QPrinterInfo::availablePrinterNames().contains(queue))
        GTEST_SKIP() << "no print queue named " << queue.toStdString()
                     << " (scripts/printqueue.sh sets one up as root with CUPS and cups-pdf)";
    PageLayout pl;
    pl.startDoc();
    pl.text(QStringLiteral("x"));
    pl.endDoc();
    EXPECT_FALSE(QueueAcceptsJobs(queue));
    EXPECT_EQ(PrintPages(pl, queue, 1, 1),
              QStringLiteral("プリンタ「TovanelRejects」は現在印刷を受け付けていません。プリンタの状態を確認してください。"));
}

QString Output(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

/// The words of one page of a PDF with their boxes (points, y down), and the page size.
struct SheetText {
    QSizeF size;
    QMap<QString, QRectF> words;
};

SheetText TextOf(const QString& pdf, int page)
{
    const QString html = Output(QStringLiteral("pdftotext"),
                                {QStringLiteral("-bbox"), QStringLiteral("-f"), QString::number(page),
                                 QStringLiteral("-l"), QString::number(page), pdf, QStringLiteral("-")});
    SheetText out;
    const QRegularExpressionMatch pm =
        QRegularExpression(QStringLiteral("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\"")).match(html);
    if (pm.hasMatch()) out.size = QSizeF(pm.captured(1).toDouble(), pm.captured(2).toDouble());
    const QRegularExpression word(QStringLiteral(
        "<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\">([^<]*)</word>"));
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out.words.insert(m.captured(5), QRectF(QPointF(m.captured(1).toDouble(), m.captured(2).toDouble()),
                                               QPointF(m.captured(3).toDouble(), m.captured(4).toDouble())));
    }
    return out;
}

// Prints to a real print queue: the queue the test command sets up (scripts/printqueue.sh, CUPS
// with cups-pdf), whose jobs arrive as PDF files that are read back here.
TEST(PrintPages, ARealQueueReceivesExactlyTheChosenPagesInLandscape)
{
    const QString queue = qEnvironmentVariable("TOVANEL_TEST_PRINTER", QStringLiteral("PDF"));
    if (!QPrinterInfo::availablePrinterNames().contains(queue))
        GTEST_SKIP() << "no print queue named " << queue.toStdString()
                     << " (scripts/printqueue.sh sets one up as root with CUPS and cups-pdf)";
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP() << "pdftotext/pdfinfo missing (package poppler-utils)";
    const QDir out(qEnvironmentVariable("TOVANEL_TEST_PRINT_DIR", QDir::home().filePath(QStringLiteral("PDF"))));

    const QString token = QUuid::createUuid().toString(QUuid::Id128);
    PageLayout pl;
    pl.setPaperSize(kPaperA4);
    pl.setOrientation(kLandscape);
    pl.setFontName(QStringLiteral("ＭＳ 明朝"));
    pl.setFontSize(11);
    pl.setDocName(kPrintDocName);
    pl.startDoc();
    for (int k = 1; k <= 4; ++k) {
        if (k > 1) pl.newPage();
        pl.setCurrentX(1440);
        pl.setCurrentY(1440);
        pl.text(QStringLiteral("PAGE%1 %2 曲線要素").arg(k).arg(token));
    }
    pl.endDoc();

    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    ASSERT_EQ(PrintPages(pl, queue, 2, 3), QString());

    // The job goes through the scheduler and the PDF back end: wait for a file holding the token.
    QString arrived;
    for (int i = 0; i < 600 && arrived.isEmpty(); ++i) {
        QThread::msleep(100);
        for (const QFileInfo& f : out.entryInfoList({QStringLiteral("*.pdf")}, QDir::Files)) {
            if (f.lastModified() < started) continue;
            if (Output(QStringLiteral("pdftotext"), {f.filePath(), QStringLiteral("-")}).contains(token))
                arrived = f.filePath();
        }
    }
    ASSERT_FALSE(arrived.isEmpty()) << "no job arrived in " << out.path().toStdString();

    const QString info = Output(QStringLiteral("pdfinfo"), {arrived});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+2\\n")))) << info.toStdString();

    for (int page : {1, 2}) {
        SCOPED_TRACE(page);
        const SheetText got = TextOf(arrived, page);
        const QString expected = QStringLiteral("PAGE%1").arg(page + 1);  // pages 2 and 3
        ASSERT_TRUE(got.words.contains(expected)) << got.words.keys().join(' ').toStdString();
        EXPECT_TRUE(got.words.contains(token));
        EXPECT_TRUE(got.words.contains(QStringLiteral("曲線要素")));
        // A4 in landscape, either on landscape media or turned on portrait media; either way
        // the text runs along the long side and starts an inch from the sheet's top left corner.
        const QRectF w = got.words.value(expected);
        const bool turned = got.size.width() < got.size.height();
        EXPECT_NEAR(std::max(got.size.width(), got.size.height()), 841.9, 1.0);
        EXPECT_NEAR(std::min(got.size.width(), got.size.height()), 595.3, 1.0);
        if (turned) {
            EXPECT_GT(w.height(), w.width());
            const double left = w.bottom() > got.size.height() / 2 ? got.size.height() - w.bottom()
                                                                  : w.top();
            EXPECT_NEAR(left, 72, 3);
        } else {
            EXPECT_GT(w.width(), w.height());
            EXPECT_NEAR(w.left(), 72, 3);
        }
    }
    if (!HasFailure()) QFile::remove(arrived);  // kept for a look when something is wrong
}

}  // namespace
}  // namespace tovanel::test

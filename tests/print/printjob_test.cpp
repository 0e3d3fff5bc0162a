// SPDX-License-Identifier: GPL-3.0-or-later
// Printing: queue and range choices, a queue that refuses jobs, and the queue chosen in the set-up,
// which must receive exactly the chosen pages in landscape (skipped without the test queues).

#include "print/pagelayout.h"
#include "print/pagewriter.h"
#include "print/printersetup.h"
#include "print/printjob.h"
#include "print/pview.h"

#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#if TOVANEL_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace tovanel::test {
namespace {

// `count` pages, each with its number and `token` an inch from the sheet's top left corner, in the
// font and orientation the page set-up chose (the sheets' Mincho: the token reads back whole).
void Fill(PageLayout& pl, int count, const QString& token = {})
{
    pl.startDoc();
    for (int k = 1; k <= count; ++k) {
        if (k > 1) pl.newPage();
        pl.setCurrentX(1440);
        pl.setCurrentY(1440);
        pl.text(QStringLiteral("PAGE%1 %2 曲線要素").arg(k).arg(token));
    }
    pl.endDoc();
}

#define SKIP_WITHOUT_QUEUE(queue)                                                   \
    if (!QPrinterInfo::availablePrinterNames().contains(queue))                     \
    GTEST_SKIP() << "no print queue named " << QString(queue).toStdString()         \
                 << " (scripts/printqueue.sh sets it up as root with CUPS and cups-pdf)"

TEST(PrintJob, RangeQueueAndFailuresAreReported)
{
    EXPECT_EQ(ResolvePrinterName("C", {"A", "B"}, "B"), "B") << "a queue gone: the default";
    const struct { int from, to, pages; bool fine; } ranges[] = {
        {2, 3, 5, true}, {4, 2, 5, false}, {1, 0, 0, false}, {0, 2, 5, false}, {1, 6, 5, false}};
    for (const auto& r : ranges)
        EXPECT_EQ(PageRangeProblem(r.from, r.to, r.pages).isEmpty(), r.fine) << r.from << ".." << r.to;
    PageLayout pl;
    Fill(pl, 1);
    for (const QString& queue : {QString(), "no-such-queue-" + QUuid::createUuid().toString()})
        EXPECT_TRUE(PrintPages(pl, queue, 1, 1).startsWith("使用できるプリンタがありません"));
    SKIP_WITHOUT_QUEUE("TovanelRejects");
    EXPECT_EQ(PrintPages(pl, "TovanelRejects", 1, 1),
              "プリンタ「TovanelRejects」は現在印刷を受け付けていません。プリンタの状態を確認してください。");
}

QString Output(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitCode() == 0 ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

/// The queue that holds the job of this title (the job's document name), empty when none does.
QString QueueOfJob(const QString& title)
{
    QString queue;
#if TOVANEL_HAVE_CUPS
    cups_job_t* jobs = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    for (int i = 0; i < n; ++i)
        if (title == QString::fromUtf8(jobs[i].title)) queue = QString::fromUtf8(jobs[i].dest);
    cupsFreeJobs(n, jobs);
#else
    Q_UNUSED(title);
#endif
    return queue;
}

// The printer set-up chooses A3 and the queue that is not the default; the preview lays out on A3,
// its print dialog shows that queue, and the job arrives there with exactly the chosen pages in
// landscape, as the PDF file cups-pdf writes into the job owner's ~/PDF/ (whatever HOME says).
TEST(PrintJob, TheChosenQueueReceivesExactlyTheChosenPagesInLandscape)
{
#if !TOVANEL_HAVE_CUPS
    GTEST_SKIP() << "built without CUPS";
#endif
    SKIP_WITHOUT_QUEUE("TovanelSecond");
    if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext missing (poppler-utils)";
    QPrinter appPrinter;
    ASSERT_NE(appPrinter.printerName(), "TovanelSecond") << "the default queue is another";
    PrinterSetup setup(appPrinter, QPrinterInfo::availablePrinterNames());
    setup.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&setup));
    setup.Printers()->setCurrentIndex(setup.Printers()->findText("TovanelSecond"));
    setup.Papers()->setCurrentIndex(setup.Papers()->findText(QPageSize::name(QPageSize::A3)));
    setup.OkButton()->setFocus();
    QTest::keyClick(setup.OkButton(), Qt::Key_Return);  // Enter on the focused button
    ASSERT_EQ(setup.result(), QDialog::Accepted);
    setup.applyTo(appPrinter);

    const QString token = QUuid::createUuid().toString(QUuid::Id128);  // tells this run's job apart
    PreviewHooks hooks;
    QString shown;  // what the print dialog says the printer is
    hooks.execDialog = [&](QDialog& d) { shown = d.findChild<QLabel*>("Dvc")->text(); d.reject(); };
    hooks.message = [](QWidget*, QMessageBox::Icon, const QString&, const QString& text) { ADD_FAILURE() << text.toStdString(); };
    PVIEW::Setup preview;
    preview.compose = [&](PageWriter& w, ExportList&) { Fill(w.pl, 4, token); return QString(); };
    preview.appPrinter = &appPrinter;
    preview.hooks = hooks;
    PVIEW v(std::move(preview));
    EXPECT_EQ(v.PageLayout1().pageSize().id(), QPageSize::A3) << "laid out on the chosen paper";
    v.cmdToPrinter_Click();
    EXPECT_EQ(shown, "TovanelSecond");
    v.PageLayout1().setDocName(token);
    const QDateTime started = QDateTime::currentDateTime().addSecs(-1);
    ASSERT_TRUE(v.printRange(2, 3));
    EXPECT_EQ(QueueOfJob(token), "TovanelSecond");

    const passwd* user = getpwuid(getuid());
    const QDir out((user ? QString::fromLocal8Bit(user->pw_dir) : QDir::homePath()) + "/PDF");
    QString arrived, words;  // the job passes the scheduler and the PDF back end first
    for (int i = 0; i < 600 && arrived.isEmpty(); ++i) {
        QThread::msleep(100);
        for (const QFileInfo& f : out.entryInfoList({"*.pdf"}, QDir::Files))
            if (f.lastModified() >= started && (words = Output("pdftotext", {"-bbox", f.filePath(), "-"})).contains(token))
                arrived = f.filePath();
    }
    ASSERT_FALSE(arrived.isEmpty()) << "no job arrived in " << out.path().toStdString();
    QStringList printed;
    for (const auto& m : QRegularExpression(">PAGE\\d<").globalMatch(words)) printed << m.captured();
    EXPECT_EQ(printed, QStringList({">PAGE2<", ">PAGE3<"})) << "pages 2 and 3 only";
    // A3 in landscape: on landscape media, or on portrait media with text running up the long side.
    const QRegularExpression pageAndWord(QString("<page width=%1 height=%1.*?xMin=%1 yMin=%1 xMax=%1 yMax=%1>PAGE2<")
                                             .arg("\"([0-9.]+)\""), QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = pageAndWord.match(words);
    ASSERT_TRUE(m.hasMatch());
    const auto at = [&](int i) { return m.captured(i).toDouble(); };
    EXPECT_NEAR(std::max(at(1), at(2)), 1190.6, 1);
    EXPECT_EQ(at(1) > at(2), at(5) - at(3) > at(6) - at(4)) << at(1) << " x " << at(2);
    if (!HasFailure()) QFile::remove(arrived);  // kept for a look when something is wrong
}

}  // namespace
}  // namespace tovanel::test

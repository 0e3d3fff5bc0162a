// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/printjob.h"

#include "print/pagelayout.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>
#include <cstring>

#if TOVANEL_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace tovanel {

QString ResolvePrinterName(const QString& preferred, const QStringList& available,
                           const QString& platformDefault)
{
    if (!preferred.isEmpty() && available.contains(preferred)) return preferred;
    if (!platformDefault.isEmpty() && available.contains(platformDefault)) return platformDefault;
    return available.isEmpty() ? QString() : available.first();
}

QString PageRangeProblem(int from, int to, int pageCount)
{
    if (pageCount < 1) return QStringLiteral("印刷する頁がありません。");
    if (from < 1 || to > pageCount || from > to)
        return QStringLiteral("印刷範囲 %1 頁から %2 頁までには印刷する頁がありません。")
            .arg(from)
            .arg(to);
    return {};
}

bool QueueAcceptsJobs(const QString& printerName)
{
#if TOVANEL_HAVE_CUPS
    // "queue/instance" names an instance of a queue; the queue decides.
    const QByteArray queue = printerName.section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
    if (!dest) return true;
    const char* accepting =
        cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
    const bool accepts = !accepting || std::strcmp(accepting, "false") != 0;
    cupsFreeDests(1, dest);
    return accepts;
#else
    Q_UNUSED(printerName);
    return true;
#endif
}

QString PrintPages(const PageLayout& pl, const QString& printerName, int from, int to)
{
    if (const QString problem = PageRangeProblem(from, to, pl.pageCount()); !problem.isEmpty())
        return problem;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (printerName.isEmpty() || info.isNull())
        return QStringLiteral("使用できるプリンタがありません。プリンタを設定するか、「PDF保存」で PDF ファイルに保存してください。");

    // QPrinter hands a job to a queue that refuses it as if it had been printed; ask first.
    if (!QueueAcceptsJobs(printerName))
        return QStringLiteral("プリンタ「%1」は現在印刷を受け付けていません。プリンタの状態を確認してください。")
            .arg(printerName);
    if (info.state() == QPrinter::Error)
        return QStringLiteral("プリンタ「%1」は停止しています。プリンタを再開してから印刷してください。")
            .arg(printerName);

    QPrinter printer(info, QPrinter::HighResolution);
    // Without a native print system behind it QPrinter writes a PDF file nobody asked for.
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.isValid())
        return QStringLiteral("プリンタ「%1」に印刷できません。").arg(printerName);
    printer.setDocName(pl.docName().isEmpty() ? kPrintDocName : pl.docName());
    printer.setCreator(QStringLiteral("Tovanel"));
    // The pages carry their own margins: paint from the paper's top left corner, as the preview.
    printer.setFullPage(true);
    printer.setPageLayout(pl.pageLayout());

    if (!pl.printPages(printer, from, to) || printer.printerState() == QPrinter::Error)
        return QStringLiteral("プリンタ「%1」への印刷に失敗しました。プリンタの状態を確認してください。")
            .arg(printerName);
    if (printer.printerState() == QPrinter::Aborted)
        return QStringLiteral("印刷が中止されました。");
    return {};
}

}  // namespace tovanel

#include "print/printjob.h"

#include "print/pagelayout.h"

#include <QPageLayout>
#include <QPrinter>
#include <QPrinterInfo>

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

QString PrintPages(const PageLayout& pl, const QString& printerName, int from, int to)
{
    if (const QString problem = PageRangeProblem(from, to, pl.pageCount()); !problem.isEmpty())
        return problem;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printerName);
    if (printerName.isEmpty() || info.isNull())
        return QStringLiteral("使用できるプリンタがありません。プリンタを設定してから印刷してください。");

    QPrinter printer(info, QPrinter::HighResolution);
    // Without a native print system behind it QPrinter writes a PDF file nobody asked for.
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.isValid())
        return QStringLiteral("プリンタ「%1」に印刷できません。").arg(printerName);
    printer.setDocName(pl.docName().isEmpty() ? kPrintDocName : pl.docName());
    printer.setCreator(QStringLiteral("Tovanel"));
    // The pages carry their own margins: paint from the paper's top left corner, as the preview.
    printer.setFullPage(true);
    const QPageLayout layout(pl.pageSize(),
                             pl.orientation() == kLandscape ? QPageLayout::Landscape
                                                            : QPageLayout::Portrait,
                             QMarginsF(0, 0, 0, 0));
    printer.setPageLayout(layout);

    if (!pl.printPages(printer, from, to) || printer.printerState() == QPrinter::Error)
        return QStringLiteral("プリンタ「%1」への印刷に失敗しました。プリンタの状態を確認してください。")
            .arg(printerName);
    if (printer.printerState() == QPrinter::Aborted)
        return QStringLiteral("印刷が中止されました。");
    return {};
}

}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Printing a page range of the composed document on a print queue of the platform (CUPS on
// Linux). QPrinter does not fail when no queue exists: it quietly writes a PDF file instead. So
// the queue is checked against the platform's list first, the printer must really be a native
// one, and every step that can fail is turned into a message for the user.

#include <QString>
#include <QStringList>

namespace tovanel {

class PageLayout;

/// The document name a print job carries into the queue.
inline const QString kPrintDocName = QStringLiteral("票印刷");

/// The queue to print on: the preferred one when the platform offers it, else the platform's
/// default, else the first queue offered; empty when there is none.
QString ResolvePrinterName(const QString& preferred, const QStringList& available,
                           const QString& platformDefault);

/// Why pages from..to of a document of pageCount pages cannot be printed (Japanese, one line),
/// or empty when the range holds at least one page.
QString PageRangeProblem(int from, int to, int pageCount);

/// Whether the platform's print system takes jobs for the queue now; true when it cannot tell
/// (built without CUPS) or does not know the queue.
bool QueueAcceptsJobs(const QString& printerName);

/// Prints pages from..to (1-based, inclusive) of the document on the named queue, on the
/// document's paper and in its orientation, painted edge to edge exactly as the preview shows
/// them, under the document's name. A queue that refuses jobs or is stopped is told to the user
/// rather than sent a job. Returns a message for the user, empty on success.
/// printerName must be one of the platform's queues (see ResolvePrinterName).
QString PrintPages(const PageLayout& pl, const QString& printerName, int from, int to);

}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/pdfstream.h"

#include "print/pagelayout.h"

#include <QPageLayout>

namespace tovanel {

PdfStream::PdfStream(QIODevice& device, const PageLayout& setup, const QString& title)
    : m_writer(&device)
{
    m_writer.setCreator(QStringLiteral("Tovanel"));
    m_writer.setTitle(title);
    m_writer.setResolution(static_cast<int>(kTwipsPerInch));
    m_writer.setPageLayout(setup.pageLayout());
}

bool PdfStream::add(const PageLayout& doc)
{
    for (int p = 1; p <= doc.pageCount(); ++p) {
        // The painter starts the first page itself; every later one is asked for.
        if (m_pages == 0) {
            if (!m_painter.begin(&m_writer)) return false;
        } else if (!m_writer.newPage()) {
            return false;
        }
        m_painter.resetTransform();
        m_painter.scale(m_writer.logicalDpiX() / kTwipsPerInch, m_writer.logicalDpiY() / kTwipsPerInch);
        doc.renderPage(m_painter, p);
        ++m_pages;
    }
    return true;
}

bool PdfStream::finish() { return m_painter.isActive() && m_painter.end(); }

}  // namespace tovanel

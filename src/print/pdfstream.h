// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One PDF document painted a composed document at a time: a run of many corners adds each
// corner's pages as they are composed and keeps none of them afterwards.

#include <QPainter>
#include <QPdfWriter>
#include <QString>

class QIODevice;

namespace tovanel {

class PageLayout;

class PdfStream {
public:
    /// The PDF goes to `device`, which must be open for writing; pages are laid out for the paper
    /// and orientation of `setup`, the document carries `title`.
    PdfStream(QIODevice& device, const PageLayout& setup, const QString& title);
    /// Paints every page of `doc` after the pages painted so far, its first on a new page. False
    /// when the painter cannot work on the device.
    bool add(const PageLayout& doc);
    /// Ends the document. False when it could not be finished; nothing more can be added.
    bool finish();
    /// Pages painted so far.
    int pageCount() const { return m_pages; }

private:
    QPdfWriter m_writer;
    QPainter m_painter;
    int m_pages = 0;
};

}  // namespace tovanel

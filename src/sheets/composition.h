// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The composition of the whole calculation document.

#include "calc/corner.h"
#include "calc/exportlist.h"
#include "calc/settings.h"

#include <QString>

namespace tovanel {

class PageLayout;
struct PageWriter;
struct SheetContext;

/// Why the document cannot be composed from this corner (one line, Japanese), or empty: no
/// calculation type selected (CalcType outside 0..3), a division count that is not fixed, not a
/// whole number, or beyond the largest count the program accepts.
QString ComposeRefusal(const Corner& corner);

/// Composes the document into the context's writer: origins (25, 15), export list emptied, a new
/// document, the curve elements sheet with its sketch, the block-point sheet, end of document.
/// Expects the elements the trial calculation (S_CRT) leaves and the page set-up done. Refuses
/// (returns the reason, touches no page) when ComposeRefusal does; refuses as well, with no pages
/// and an empty export list, when a length or coordinate would be written as "inf" or "nan".
[[nodiscard]] QString out1(SheetContext& c);

/// Composes `corner` onto `w` (page set-up done) and fills `exports`: out1 with a fresh context.
[[nodiscard]] QString ComposeSheets(const Corner& corner, const Settings& settings, PageWriter& w,
                                    ExportList& exports);

/// What a composition without a preview gives: why it refused (empty when it composed) and the
/// points it named.
struct Composition {
    QString refusal;
    ExportList exports;
};

/// For callers without a preview: page set-up for the component's paper, then the sheets.
Composition ComposeDocument(const Corner& corner, const Settings& settings, PageLayout& pl);

}  // namespace tovanel

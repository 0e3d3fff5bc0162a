// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The composition of the whole calculation document.

#include <QString>

namespace tovanel {

struct CalcState;
class PageLayout;
struct SheetContext;

/// Why the document cannot be composed from this state (one line, Japanese), or empty: no
/// calculation type selected (CalcType outside 0..3), a division count that is not fixed, not a
/// whole number, or beyond the largest count the program accepts.
QString ComposeRefusal(const CalcState& s);

/// Composes the document into the context's component: origins (25, 15), export list emptied, a
/// new document, the curve elements sheet with its sketch, the block-point sheet, end of
/// document. Expects the state the trial calculation (S_CRT) leaves and the page set-up done.
/// Refuses (returns the reason, touches nothing) when ComposeRefusal does.
[[nodiscard]] QString out1(SheetContext& c);

/// Convenience for callers without a preview: page set-up for the component's paper, then out1.
[[nodiscard]] QString ComposeDocument(CalcState& s, PageLayout& pl);

}  // namespace tovanel

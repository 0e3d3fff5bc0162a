// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's "隅切り表(T)...": the corner table window, one for the program, wired to the
// main window (its corner as a row, a row into its boxes, its settings and printer).

#include "district/cornertablewindow.h"

namespace tovanel {

class MonitFM;

/// Adds the command to the File menu, after "一括計算(B)..." (or before the printer set-up).
/// Empty hooks are the real dialogs; messages go the main window's way. `recentList` is the
/// file of recently used tables (empty: the one in the user's settings folder).
void InstallCornerTable(MonitFM& window, TableHooks hooks = {}, const QString& recentList = {});

/// Shows the table window (made on first use) and, when `path` is given, opens that table in it.
/// Returns the window.
CornerTableWindow* ShowCornerTable(MonitFM& window, const QString& path = {});

/// The table window while it exists, else null.
CornerTableWindow* OpenedCornerTable(const MonitFM& window);

}  // namespace tovanel

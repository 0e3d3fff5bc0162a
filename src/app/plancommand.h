// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's "平面図(P)": the corner of the last trial drawn in its own window.

#include "plan/planview.h"

namespace tovanel {

class MonitFM;

/// Adds the command to the print menu, after the calculation sheets. Before a trial has fixed
/// the division count it says so, as printing does. The window's save dialog is `hooks`' (empty:
/// QFileDialog); its messages go the main window's way.
void InstallPlan(MonitFM& window, PlanWindowHooks hooks = {});

}  // namespace tovanel

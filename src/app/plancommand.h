// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's "平面図(P)": the corner of the last trial drawn in its own window.

namespace tovanel {

class MonitFM;

/// Adds the command to the print menu, after the calculation sheets. Before a trial has fixed
/// the division count it says so, as printing does.
void InstallPlan(MonitFM& window);

}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Enter on a button, as the main window has it: the focused button is pressed by Enter as by
// Space. A dialog here has no default button, so Enter in a box or on an option presses nothing.

class QWidget;

namespace tovanel {

/// Makes every push button of the window (present when called) answer Enter while it has the
/// focus, and has the window draw the focus mark on its buttons from the start instead of only
/// after the first Tab.
void EnterPressesFocusedButton(QWidget* window);

}  // namespace tovanel

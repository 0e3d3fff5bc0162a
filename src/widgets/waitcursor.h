// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hourglass while something slow runs.

#include <QApplication>

namespace tovanel {

/// The wait cursor for as long as the object lives, even when what it guards throws.
class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace tovanel

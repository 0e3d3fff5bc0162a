// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The trial window: one drawing surface filling the window, showing either the trial listing or,
// when opened with ShowMode 9, the guide diagram. The window is built anew for every trial and
// every guide command, so its load step always runs.

#include "settings/message.h"

#include <QStringList>
#include <QWidget>

namespace tovanel {

struct CalcState;
struct Listing;
class DrawSurface;

/// ShowMode that makes the window show the guide diagram.
inline constexpr int kShowGuide = 9;
/// ShowMode of the trial calculation.
inline constexpr int kShowTrial = 1;

/// Draws a composed listing on the surface: cleared, then every text at its position in the
/// listing's font, size and colour, in order.
void DrawListing(const Listing& listing, DrawSurface& surface);

/// Why the corner just computed is degenerate, one Japanese line per reason (empty when it is
/// not): BP, IP or EP coinciding, a zero radius, IA of 0 or 180 degrees, no positive inner radius.
QStringList DegenerateCorner(const CalcState& s);

class ANNAI : public QWidget {
    Q_OBJECT
public:
    explicit ANNAI(CalcState& s, MessageFn message, QWidget* parent = nullptr);

    /// The load step: the guide diagram when ShowMode is 9, otherwise the trial calculation and
    /// its listing, after a warning when the corner is degenerate. Returns the reason when the
    /// calculation refuses the inputs (nothing is drawn then), otherwise empty.
    QString Form_Load();

    DrawSurface* Surface1() const { return m_surface; }

private:
    CalcState& m_s;
    MessageFn m_message;
    DrawSurface* m_surface = nullptr;
};

}  // namespace tovanel

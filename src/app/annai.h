// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The trial window: one drawing surface filling the window, showing either the trial listing or,
// when opened with ShowMode 9, the guide diagram. The window is built anew for every trial and
// every guide command, so its load step always runs.

#include "widgets/message.h"

#include <QStringList>
#include <QWidget>
#include <cstdint>

namespace tovanel {

struct Corner;
struct Listing;
class DrawSurface;
class Settings;

/// What the trial window shows when it loads.
enum class ShowMode : int16_t {
    Trial = 1,  ///< the trial calculation of the main window's corner
    Guide = 9,  ///< the guide diagram
};

/// The first line of the warning after a trial whose curve runs past BP or EP.
inline const QString kOverrunMessage =
    QStringLiteral("曲線が接線の外まで延びています。計算はできましたが、BP・EPの位置と半径を確認してください。");

/// Draws a composed listing on the surface: cleared, then every text at its position in the
/// listing's font, size and colour, in order.
void DrawListing(const Listing& listing, DrawSurface& surface);

class ANNAI : public QWidget {
    Q_OBJECT
public:
    /// `corner` receives the trial's elements; it and the settings must outlive the load step.
    ANNAI(ShowMode mode, Corner& corner, const Settings& settings, MessageFn message,
          QWidget* parent = nullptr);

    /// The load step: the guide diagram, or the trial calculation of the corner's inputs (its
    /// elements into the corner) and its listing, then one warning when the curve runs past BP
    /// or EP (kOverrunMessage and CornerWarnings' lines).
    /// Returns the reason when the calculation refuses the inputs (nothing is drawn then),
    /// otherwise empty.
    QString Form_Load();

    DrawSurface* Surface1() const { return m_surface; }

private:
    ShowMode m_mode;
    Corner& m_corner;
    const Settings& m_settings;
    MessageFn m_message;
    DrawSurface* m_surface = nullptr;
};

}  // namespace tovanel

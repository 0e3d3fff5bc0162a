// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The guide diagram: four fixed drawings of one street-block corner explaining how each
// calculation type divides the inner, centre and outer curves.

#include <QString>

namespace tovanel {

class DrawSurface;

/// Caption of the window showing the diagram.
inline const QString kGuideCaption = QStringLiteral("案内図");

/// Draws the whole diagram on the surface (cleared first): four figures, each about its own origin.
void GuideDraw(DrawSurface& surface);

}  // namespace tovanel

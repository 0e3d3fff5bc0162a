// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The print command's window: the preview of the calculation sheets, composed from the main
// window's calculation state on the program's printer settings.

#include "print/previewhooks.h"

namespace tovanel {

class MonitFM;
class PVIEW;

/// Makes the main window's print command open the preview. One preview at a time: a request
/// while it is open brings it forward with the document it holds. Hooks left empty are the real
/// dialogs, except the message boxes, which go the main window's way.
void InstallPreview(MonitFM& window, PreviewHooks hooks = {});

/// The preview the print command opened, while it is open; otherwise null.
PVIEW* OpenedPreview(const MonitFM& window);

}  // namespace tovanel

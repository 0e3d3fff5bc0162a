// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's point files: "座標読込(I)..." takes BP, IP and EP from a SIMA or CSV point
// file, and the export submenu writes the corner's points as a SIMA, CSV or DXF file.

#include "exchange/pointwriter.h"
#include "print/previewhooks.h"

#include <functional>

namespace tovanel {

class MonitFM;

struct ExchangeHooks {
    /// Messages, the save dialog and running the point list; empty ones are the real thing,
    /// except messages, which go the main window's way.
    PreviewHooks dialogs;
    /// Asks which file to open; returns its path, empty when the user cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& folder,
                          const QString& filter)>
        openFileName;
};

/// The file name suffix of a format ("sim", "csv", "dxf") and its file dialog filter.
QString FormatSuffix(PointFileKind format);
QString FormatFilter(PointFileKind format);

/// The hooks with every empty one filled with the real thing; messages go the main window's way.
ExchangeHooks CompleteHooks(MonitFM& window, ExchangeHooks hooks);

/// Where a file dialog starts: the folder used last while it is still there, otherwise the
/// documents folder or home.
QString StartFolder(const QString& last);

/// Adds the commands to the main window's File menu, after "新規作成(N)".
void InstallExchange(MonitFM& window, ExchangeHooks hooks = {});

}  // namespace tovanel

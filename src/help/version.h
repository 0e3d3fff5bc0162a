// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The version box text.

#include <QString>

namespace tovanel {

/// Application title shown in the version box.
inline const QString kAppTitle = QStringLiteral("Tovanel");

/// title, two blanks, "Ver", major, ".", minor and revision run together: ("T", 1, 2, 3) gives
/// "T  Ver1.23".
QString VersionText(const QString& title, int major, int minor, int revision);

/// VersionText for this build (the project version of the build system).
QString AppVersionText();

/// Title of the version box.
inline const QString kVersionBoxTitle = QStringLiteral("バージョン情報");

}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/version.h"

namespace tovanel {

QString VersionText(const QString& title, int major, int minor, int revision)
{
    return title + QStringLiteral("  Ver") + QString::number(major) + QLatin1Char('.') +
           QString::number(minor) + QString::number(revision);
}

QString AppVersionText()
{
    return VersionText(kAppTitle, TOVANEL_VERSION_MAJOR, TOVANEL_VERSION_MINOR, TOVANEL_VERSION_PATCH);
}

}  // namespace tovanel

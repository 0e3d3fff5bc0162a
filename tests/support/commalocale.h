// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A locale whose decimal separator is a comma, made for the test itself with localedef (package
// locales) in a folder of its own, so that the test does not depend on which locales this machine
// has generated. Programs find it through LOCPATH.

#include "support/run.h"

#include <QDir>
#include <QFileInfo>

namespace tovanel::test {

inline constexpr const char* kCommaLocale = "de_DE.UTF-8";

/// Compiles the comma locale into `folder`. Returns empty when it is there, otherwise why not.
inline QString MakeCommaLocale(const QString& folder)
{
    // Exit status 1 only reports warnings; the locale is written all the same.
    const Ran r = Launch(QStringLiteral("localedef"), {"-i", "de_DE", "-f", "UTF-8", QDir(folder).filePath(kCommaLocale)});
    if (!QFileInfo::exists(QDir(folder).filePath(QString(kCommaLocale) + "/LC_NUMERIC")))
        return QStringLiteral("localedef could not make %1 (package locales missing?): %2").arg(kCommaLocale, r.err.trimmed());
    return {};
}

}  // namespace tovanel::test

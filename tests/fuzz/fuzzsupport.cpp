// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzzcheck.h"

#include "print/fonts.h"

#include <QDir>
#include <QTemporaryDir>

namespace tovanel::fuzz {

void EnsureGuiApplication()
{
    static QGuiApplication* const app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "fuzz";
        static char* argv[] = {name, nullptr};
        auto* a = new QGuiApplication(argc, argv);
        InstallFontSubstitutions();
        return a;
    }();
    (void)app;
}

QString ScratchFolder()
{
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/tovanel-fuzz-XXXXXX")
                                                                       : QDir::tempPath() + QStringLiteral("/tovanel-fuzz-XXXXXX"));
    return dir.path();
}

}  // namespace tovanel::fuzz

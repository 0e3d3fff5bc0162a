// SPDX-License-Identifier: GPL-3.0-or-later
#include "fuzzcheck.h"

#include "print/fonts.h"

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

}  // namespace tovanel::fuzz

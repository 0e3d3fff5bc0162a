// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/previewopener.h"

#include "app/monitfm.h"
#include "calc/calcstate.h"
#include "print/pview.h"
#include "sheets/composition.h"
#include "sheets/sheetcontext.h"

namespace tovanel {

namespace {

QString ComposeSheets(CalcState& s, PageLayout& pl)
{
    SheetContext c{s, pl, {}, {}};
    return out1(c);
}

}  // namespace

void InstallPreview(MonitFM& window, PreviewHooks hooks)
{
    if (!hooks.message) hooks.message = window.messageFn();
    window.setPreviewOpener([&window, hooks] {
        if (PVIEW* open = OpenedPreview(window)) {
            if (open->isMinimized()) open->showNormal();
            open->raise();
            open->activateWindow();
            return;
        }
        auto* preview = new PVIEW(window.state(), PVIEW::Setup{ComposeSheets, &window.printer(), hooks},
                                  &window);
        preview->show();
        preview->activateWindow();
    });
}

PVIEW* OpenedPreview(const MonitFM& window)
{
    // A closed preview is on its way to deletion; only a shown one is open.
    for (PVIEW* p : window.findChildren<PVIEW*>(QString(), Qt::FindDirectChildrenOnly))
        if (p->isVisible()) return p;
    return nullptr;
}

}  // namespace tovanel

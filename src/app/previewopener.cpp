// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/previewopener.h"

#include "app/monitfm.h"
#include "print/pview.h"
#include "sheets/composition.h"
#include "sheets/sheetcontext.h"

#include <QLineEdit>

namespace tovanel {

namespace {

// The sheets of the main window's corner as it stands when the preview composes them.
ComposeFn SheetsOf(const MonitFM& window)
{
    return [&window](PageWriter& w, ExportList& exports) {
        return ComposeSheets(window.corner(), window.settings(), w, exports);
    };
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
        // No parent: the preview is a window of its own that stays when the main window closes.
        PVIEW::Setup setup;
        setup.compose = SheetsOf(window);
        setup.document = static_cast<PrintDocument>(window.printMenuIndex());
        setup.ipNumber = [&window] { return window.DTText(0)->text(); };
        setup.settings = &window.settings();
        setup.appPrinter = &window.printer();
        setup.hooks = hooks;
        auto* preview = new PVIEW(std::move(setup));
        if (const QString why = preview->refusal(); !why.isEmpty()) {
            delete preview;  // a refused document opens no window, only the reason
            hooks.message(&window, QMessageBox::Warning, QStringLiteral("確認"), why);
            return;
        }
        delete window.previewWindow();  // one closed earlier and not yet deleted
        window.setPreviewWindow(preview);
        preview->show();
        preview->activateWindow();
    });
}

PVIEW* OpenedPreview(const MonitFM& window)
{
    // A closed preview is on its way to deletion; only a shown one is open.
    auto* p = qobject_cast<PVIEW*>(window.previewWindow());
    return p && p->isVisible() ? p : nullptr;
}

}  // namespace tovanel

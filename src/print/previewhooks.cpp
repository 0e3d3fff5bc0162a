// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/previewhooks.h"

#include <QDialog>
#include <QFileDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace tovanel {

PreviewHooks CompleteHooks(PreviewHooks hooks)
{
    if (!hooks.message)
        hooks.message = [](QWidget* parent, QMessageBox::Icon icon, const QString& title,
                           const QString& text) {
            QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
            box.exec();
        };
    if (!hooks.saveFileName)
        hooks.saveFileName = [](QWidget* parent, const QString& caption, const QString& suggested,
                                const QString& filter) {
            return QFileDialog::getSaveFileName(parent, caption, suggested, filter);
        };
    if (!hooks.execDialog) hooks.execDialog = [](QDialog& dialog) { dialog.exec(); };
    if (!hooks.printers) hooks.printers = [] { return QPrinterInfo::availablePrinterNames(); };
    if (!hooks.defaultPrinter) hooks.defaultPrinter = [] { return QPrinterInfo::defaultPrinterName(); };
    return hooks;
}

}  // namespace tovanel

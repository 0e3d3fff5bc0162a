// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The modal parts of the preview and the print dialog — message boxes, the file dialog, the page
// set-up dialog, the print dialog's own modal run — and the platform's list of printers, each
// behind a replaceable function. A test replaces them to record what would have been shown and
// to answer for the user, so that it never waits on a modal window.

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <functional>

class QDialog;
class QPrinter;
class QWidget;

namespace tovanel {

struct PreviewHooks {
    /// Shows a message with a title and an icon and returns when the user has read it.
    std::function<void(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                       const QString& text)>
        message;
    /// Asks where to save; returns the chosen path, empty when the user cancelled.
    std::function<QString(QWidget* parent, const QString& caption, const QString& suggested,
                          const QString& filter)>
        saveFileName;
    /// Runs a dialog modally and returns when it has closed (the print dialog, the page set-up).
    std::function<void(QDialog& dialog)> execDialog;
    /// Names of the print queues the platform offers, and its default queue (empty: none).
    std::function<QStringList()> printers;
    std::function<QString()> defaultPrinter;
};

/// Fills every empty hook with the real thing (message boxes, QFileDialog, QDialog::exec,
/// QPrinterInfo).
PreviewHooks CompleteHooks(PreviewHooks hooks);

}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every message box of the windows goes through a MessageFn, so that a test can record the
// messages instead of blocking on a modal box.

#include <QMessageBox>
#include <QString>
#include <functional>

namespace tovanel {

/// Shows a message with a title and an icon, and returns when the user has read it.
using MessageFn =
    std::function<void(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)>;

/// The real thing: a modal message box with an OK button.
void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text);

}  // namespace tovanel

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

/// The width a window of this title needs for the whole title to show in a title bar.
int TitleWidth(const QString& title);
/// Makes the box at least TitleWidth() wide.
void FitTitle(QMessageBox& box);

/// The real thing: a modal message box with an OK button, wide enough for its title.
void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text);

}  // namespace tovanel

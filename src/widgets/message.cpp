// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/message.h"

namespace tovanel {

void ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace tovanel

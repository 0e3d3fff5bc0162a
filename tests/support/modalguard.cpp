// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/modalguard.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace tovanel::test {

namespace {

void CloseModal()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    ADD_FAILURE() << "unexpected modal window: " << modal->windowTitle().toStdString();
    if (auto* dialog = qobject_cast<QDialog*>(modal))
        dialog->reject();
    else
        modal->close();
}

}  // namespace

void InstallModalGuard()
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, &CloseModal);
    timer->start(50);
}

}  // namespace tovanel::test

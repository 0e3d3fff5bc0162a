#include "support/modalguard.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

namespace tovanel::test {

namespace {

QStringList g_closed;
int g_expecting = 0;

void CloseModal()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    const QString title = modal->windowTitle();
    g_closed << title;
    if (g_expecting == 0)
        ADD_FAILURE() << "unexpected modal window: " << title.toStdString();
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

QStringList TakeClosedModals()
{
    QStringList out;
    out.swap(g_closed);
    return out;
}

ExpectModals::ExpectModals() { ++g_expecting; }
ExpectModals::~ExpectModals() { --g_expecting; }

}  // namespace tovanel::test

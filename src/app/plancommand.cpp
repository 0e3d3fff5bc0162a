// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/plancommand.h"

#include "app/exchangecommands.h"
#include "app/monitfm.h"

#include <QMenu>

namespace tovanel {

void InstallPlan(MonitFM& window, PlanWindowHooks hooks)
{
    QMenu* print = window.findChild<QMenu*>(QStringLiteral("MENUPRINT"));
    if (!print) return;
    if (!hooks.warning)
        hooks.warning = [&window](QWidget* parent, const QString& title, const QString& text) {
            window.messageFn()(parent, QMessageBox::Warning, title, text);
        };
    auto* plan = print->addAction(QStringLiteral("平面図(&P)"));
    plan->setObjectName(QStringLiteral("MENUPRINT1_2"));
    QObject::connect(plan, &QAction::triggered, &window, [&window, hooks] {
        const Corner corner = window.corner();
        if (corner.el.DivCount == 0) {
            window.messageFn()(&window, QMessageBox::Warning, QStringLiteral("確認"), kNoDivCountMessage);
            return;
        }
        // The trial again with the count it fixed: the same elements, and the stake points the
        // sheets name.
        CornerInput in = corner.in;
        in.DivCount = corner.el.DivCount;
        ShowPlanWindow(&window, PlanCornerOf(in, window.settings()), hooks, StartFolder({}));
    });
}

}  // namespace tovanel

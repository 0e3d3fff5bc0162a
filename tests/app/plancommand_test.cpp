// SPDX-License-Identifier: GPL-3.0-or-later
// "平面図(P)" of the main window: refused before a trial, as printing is; after one, a window
// "平面図" drawing the corner with exactly the points the sheets name.

#include "app/plancommand.h"
#include "plan/planview.h"
#include "print/pagelayout.h"
#include "sheets/composition.h"

#include "recordedwindow.h"

#include <QApplication>

namespace tovanel {
namespace {

struct PlanCommand : ::testing::Test, test::RecordedWindow {
    void SetUp() override
    {
        open();
        InstallPlan(*w);
    }
    void run() { w->findChild<QAction*>(QStringLiteral("MENUPRINT1_2"))->trigger(); }
    static QWidget* planWindow()
    {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->objectName() == QLatin1String("PlanWindow") && t->isVisible()) return t;
        return nullptr;
    }
};

TEST_F(PlanCommand, AsksForATrialFirst)
{
    corner("4", "10");
    run();
    EXPECT_EQ(said, QStringList{QStringLiteral("確認:") + kNoDivCountMessage});
    EXPECT_EQ(planWindow(), nullptr);
}

TEST_F(PlanCommand, DrawsTheCornerOfTheTrial)
{
    w->DTText(0)->setText(QStringLiteral("7"));
    corner("", "10", test::kTurn, "3");  // N chosen from the limits
    w->CMD1_Click();
    run();
    QWidget* plan = planWindow();
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->windowTitle(), QStringLiteral("平面図"));
    auto* view = plan->findChild<PlanView*>();
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->corners().size(), 1u);
    const PlanCorner& c = view->corners()[0];
    EXPECT_TRUE(c.refusal.isEmpty());
    EXPECT_EQ(c.el.DivCount, w->corner().el.DivCount);
    PageLayout pl;
    const Composition composed = ComposeDocument(w->corner(), w->settings(), pl);
    const std::vector<ExportPoint> sheets = ExportPoints(composed.exports);
    ASSERT_EQ(c.stakes.size(), sheets.size());
    for (size_t i = 0; i < sheets.size(); ++i) {
        EXPECT_EQ(c.stakes[i].name, sheets[i].name);
        EXPECT_EQ(c.stakes[i].x, sheets[i].x);
        EXPECT_EQ(c.stakes[i].y, sheets[i].y);
    }
    plan->close();
    QApplication::processEvents();
}

}  // namespace
}  // namespace tovanel

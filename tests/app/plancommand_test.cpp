// SPDX-License-Identifier: GPL-3.0-or-later
// "平面図(P)" of the main window: refused before a trial, as printing is; after one, a window
// "平面図" drawing the corner with exactly the points the sheets name.

#include "app/plancommand.h"
#include "plan/planview.h"
#include "print/pagelayout.h"
#include "sheets/composition.h"

#include "recordedwindow.h"

#include <QApplication>
#include <QFileInfo>

namespace tovanel {
namespace {

struct PlanCommand : ::testing::Test, test::RecordedWindow {
    void SetUp() override
    {
        open();
        PlanWindowHooks hooks;
        hooks.saveFileName = [this](QWidget*, const QString&, const QString& suggested, const QString&) {
            suggestions << QFileInfo(suggested).fileName();
            return savePath;
        };
        InstallPlan(*w, hooks);
    }
    QString savePath;         ///< what the save dialog answers
    QStringList suggestions;  ///< the names it suggested
    void run() { w->findChild<QAction*>(QStringLiteral("MENUPRINT1_2"))->trigger(); }
    static QWidget* planWindow()
    {
        for (QWidget* t : QApplication::topLevelWidgets())
            if (t->objectName() == QLatin1String("PlanWindow") && t->isVisible()) return t;
        return nullptr;
    }
};

TEST_F(PlanCommand, AsksForATrialFirstThenDrawsTheCornerOfTheTrial)
{
    w->DTText(0)->setText(QStringLiteral("7"));
    corner("", "10", test::kTurn, "3");  // N chosen from the limits
    run();
    EXPECT_EQ(said, QStringList{QStringLiteral("確認:") + kNoDivCountMessage});
    EXPECT_EQ(planWindow(), nullptr);
    said.clear();
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

    // Saved as SVG from its File menu; a folder that is not there is said, not written.
    savePath = dir.filePath("plan.svg");
    plan->findChild<QAction*>(QStringLiteral("PlanSaveSvg"))->trigger();
    EXPECT_EQ(suggestions, QStringList{QStringLiteral("平面図_7.svg")});
    EXPECT_TRUE(test::ReadAll(savePath).startsWith("<?xml"));
    EXPECT_TRUE(said.isEmpty()) << said.join('\n').toStdString();
    savePath = dir.filePath("none/plan.pdf");
    plan->findChild<QAction*>(QStringLiteral("PlanSavePdf"))->trigger();
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].startsWith(QStringLiteral("平面図:平面図 ") + savePath)) << said[0].toStdString();
    plan->close();
    QApplication::processEvents();
}

}  // namespace
}  // namespace tovanel

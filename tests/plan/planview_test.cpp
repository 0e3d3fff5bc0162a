// SPDX-License-Identifier: GPL-3.0-or-later
// The plan window as a user works it: zoom, pan, click, selection, Home, hover.

#include "plan/planview.h"

#include "calc/settingsfile.h"

#include "plan/district.h"

#include <QApplication>
#include <QHelpEvent>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace tovanel::test {
namespace {

class PlanViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        std::vector<PlanCorner> corners;
        for (const CornerInput& in : District(100)) corners.push_back(PlanCornerOf(in, DefaultSettings()));
        view.resize(800, 600);
        view.setCorners(std::move(corners));
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    void wheel(QPointF at, int delta)
    {
        QWheelEvent e(at, view.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(&view, &e);
    }
    QPointF device(const ExportPoint& p) const { return view.viewport().toDevice(p.x, p.y); }
    PlanView view;
};

TEST_F(PlanViewTest, WheelZoomsAboutTheCursor)
{
    for (const auto& [at, delta] : {std::pair{QPointF(100, 80), 120}, {QPointF(700, 500), 360}, {QPointF(400, 10), -240}}) {
        const PlanViewport before = view.viewport();
        wheel(at, delta);
        const PlanViewport after = view.viewport();
        EXPECT_NEAR(after.pixelsPerMetre / before.pixelsPerMetre, std::pow(1.25, delta / 120.0), 1e-12);
        const QPointF a = before.toPlane(at), b = after.toPlane(at);
        EXPECT_NEAR(a.x(), b.x(), 1e-9) << "the plane point under the cursor stays";
        EXPECT_NEAR(a.y(), b.y(), 1e-9);
    }
}

TEST_F(PlanViewTest, ClickOnACornerNamesItsRowAndADragPans)
{
    QSignalSpy clicked(&view, &PlanView::cornerClicked);
    view.setViewport({QPointF(view.corners()[27].in.IpY, view.corners()[27].in.IpX), 8, QSizeF(view.size())});
    // On a stake, on the curve between two stakes, on a tangent, on nothing.
    const PlanCorner& c = view.corners()[27];
    const QPointF stake = device(c.stakes[1]);
    const QPointF bp = view.viewport().toDevice(c.in.BpX, c.in.BpY), ip = view.viewport().toDevice(c.in.IpX, c.in.IpY);
    for (const QPointF at : {stake, (bp + ip) / 2}) {
        QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, at.toPoint());
        ASSERT_EQ(clicked.count(), 1) << at.x() << "," << at.y();
        EXPECT_EQ(clicked.takeFirst().at(0).toInt(), 27);
    }
    QTest::mouseClick(&view, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    EXPECT_EQ(clicked.count(), 0);

    // A drag of (40, −30) pixels moves the drawing with the cursor and selects nothing.
    const PlanViewport before = view.viewport();
    const QPoint from = stake.toPoint(), to = from + QPoint(40, -30);
    QTest::mousePress(&view, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), view.mapToGlobal(QPointF(to)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&view, &move);
    QTest::mouseRelease(&view, Qt::LeftButton, Qt::NoModifier, to);
    EXPECT_EQ(clicked.count(), 0);
    const QPointF moved = view.viewport().toDevice(c.stakes[1].x, c.stakes[1].y);
    EXPECT_NEAR(moved.x(), stake.x() + 40, 1e-9);
    EXPECT_NEAR(moved.y(), stake.y() - 30, 1e-9);
    EXPECT_EQ(view.viewport().pixelsPerMetre, before.pixelsPerMetre);
}

TEST_F(PlanViewTest, SelectionIsBroughtIntoViewAndHomeShowsEverything)
{
    const PlanViewport whole = view.viewport();
    view.setViewport({QPointF(view.corners()[0].in.IpY, view.corners()[0].in.IpX), 10, QSizeF(view.size())});
    ASSERT_FALSE(view.viewport().visiblePlane().contains(view.corners()[88].bounds));
    view.setSelection({88});
    EXPECT_TRUE(view.viewport().visiblePlane().contains(view.corners()[88].bounds));
    EXPECT_EQ(view.viewport().pixelsPerMetre, 10) << "it fits at this zoom: moved, not zoomed";
    // Rows far apart that do not fit at this zoom: shown whole.
    view.setSelection({0, 99});
    for (int r : {0, 99}) EXPECT_TRUE(view.viewport().visiblePlane().contains(view.corners()[r].bounds)) << r;
    // Already in view: left where it is.
    const PlanViewport now = view.viewport();
    view.setSelection({0});
    EXPECT_EQ(view.viewport().centre, now.centre);
    EXPECT_EQ(view.selection(), std::vector<int>{0});

    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Home);
    EXPECT_EQ(view.viewport().centre, whole.centre);
    EXPECT_EQ(view.viewport().pixelsPerMetre, whole.pixelsPerMetre);
}

TEST_F(PlanViewTest, HoverNamesThePointWithItsCoordinates)
{
    view.setViewport({QPointF(view.corners()[3].in.IpY, view.corners()[3].in.IpX), 20, QSizeF(view.size())});
    const ExportPoint& p = view.corners()[3].stakes[5];
    const QPoint at = (device(p) + QPointF(2, -1)).toPoint();
    QHelpEvent e(QEvent::ToolTip, at, view.mapToGlobal(at));
    QApplication::sendEvent(&view, &e);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("%1\nX %2\nY %3").arg(p.name).arg(p.x, 0, 'f', 3).arg(p.y, 0, 'f', 3));
    QToolTip::hideText();
}

TEST_F(PlanViewTest, KeptWholeThroughResizesUntilTheUserMovesIt)
{
    view.resize(500, 700);
    EXPECT_EQ(view.viewport().pixelsPerMetre, FitAll(view.corners(), QSizeF(500, 700)).pixelsPerMetre);
    wheel(QPointF(100, 100), 120);
    const double zoomed = view.viewport().pixelsPerMetre;
    view.resize(800, 600);
    EXPECT_EQ(view.viewport().pixelsPerMetre, zoomed);
    view.fitAll();
    view.resize(600, 600);
    EXPECT_EQ(view.viewport().pixelsPerMetre, FitAll(view.corners(), QSizeF(600, 600)).pixelsPerMetre);
}

}  // namespace
}  // namespace tovanel::test

// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's point files: picking BP, IP and EP from a file, and writing the corner's
// points, through the File menu as a user does it.

#include "app/pointpicker.h"
#include "print/exportlist.h"

#include "recordedwindow.h"
#include "support/files.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTableView>

namespace tovanel {
namespace {

QString U(const char* s) { return QString::fromUtf8(s); }

struct Exchange : ::testing::Test, test::RecordedWindow {
    void SetUp() override { open(), installCommands(); }
    QAction* item(const char* name) { return w->findChild<QAction*>(QString::fromLatin1(name)); }
    QStringList boxes() const
    {
        QStringList b;
        for (int i = 0; i <= 6; ++i) b << w->DTText(i)->text();
        for (int i = 0; i < 3; ++i) b << w->XText(i)->text() << w->YText(i)->text();
        return b << w->TXT1()->text();
    }
};

TEST_F(Exchange, PicksThreePointsFromAFileAndChangesNothingElse)
{
    QByteArray cp932;
    ASSERT_TRUE(EncodeCp932(U("G00,01,x,\r\nZ00,座標ﾃﾞｰﾀ,\r\nA00,\r\nA01,1,K1,0.000,0.000,,\r\nA01,2,境界2,  100.500,100,,\r\n"
                              "A01,3,K3,-0.25,200.125,,\r\nA01,4,k4,9,9,,\r\nA99,\r\n"), cp932));
    test::WriteAll(openPath = dir.filePath("p.sim"), cp932);
    w->DTText(0)->setText("7");
    corner("4", "10");
    s.DivCount = 4;
    QStringList after = boxes();

    user = [](QDialog& d) {
        auto& p = static_cast<PointPicker&>(d);
        EXPECT_FALSE(p.okButton()->isEnabled());
        p.searchBox()->insert(U("境界"));  // filters as typed
        EXPECT_EQ(p.list()->model()->rowCount(), 1);
        QTest::keyClick(p.searchBox(), Qt::Key_Return);
        QTest::keyClick(p.list(), Qt::Key_I);  // IP first: any order
        p.searchBox()->setText(QStringLiteral("K"));  // any case: K1, K3, k4
        EXPECT_EQ(p.list()->model()->rowCount(), 3);
        QTest::keyClick(p.searchBox(), Qt::Key_Down);  // into the list, on to the second
        QTest::keyClick(p.list(), Qt::Key_E);
        QTest::keyClick(p.list(), Qt::Key_Up);
        p.pickButton(PointPicker::BP)->click();
        p.pickButton(PointPicker::BP)->click();  // picking again keeps one
        EXPECT_EQ(p.picked(PointPicker::EP)->name, QStringLiteral("K3"));
        ASSERT_TRUE(p.okButton()->isEnabled());
        p.okButton()->click();
    };
    item("MENUFILE1_3")->trigger();
    after[1] = "K1", after[2] = U("境界2"), after[3] = "K3";
    after[7] = "0.000", after[8] = "0.000", after[9] = "100.500", after[10] = "100", after[11] = "-0.25", after[12] = "200.125";
    EXPECT_EQ(boxes(), after);
    EXPECT_EQ(s.DivCount, 4) << "the trial's count stays";
    EXPECT_TRUE(said.isEmpty()) << said.join('\n').toStdString();

    // Cancelled, or a bad file: nothing changes; the bad file is named with its line.
    user = [](QDialog& d) { d.reject(); };
    item("MENUFILE1_3")->trigger();
    test::WriteAll(openPath = dir.filePath("bad.csv"), "1,a,1,2\r\n2,b,1;5,2\r\n");
    user = [](QDialog&) { ADD_FAILURE() << "no list for a bad file"; };
    item("MENUFILE1_3")->trigger();
    EXPECT_EQ(boxes(), after);
    EXPECT_EQ(said, QStringList{U("座標読込:座標ファイル %1 の 2 行目: X が数値ではありません「1;5」。").arg(openPath)});
}

TEST_F(Exchange, WritesTheClipboardsPointsOnceATrialHasFixedTheCount)
{
    item("MENUEXPORT1_1")->trigger();
    EXPECT_EQ(said, QStringList{U("確認:") + kNoDivCountMessage});
    EXPECT_TRUE(suggestions.isEmpty()) << "refused before asking where";

    w->Combo1()->setCurrentIndex(2);
    w->DTText(0)->setText(U("交7"));
    corner("6");
    w->CMD1_Click();
    ASSERT_EQ(s.DivCount, 6);
    const struct { const char *item, *suffix, *kind; } formats[] = {
        {"MENUEXPORT1_1", "sim", "SIMA 座標ファイル"}, {"MENUEXPORT1_2", "csv", "CSV 座標ファイル"}, {"MENUEXPORT1_3", "dxf", "DXF 図面"}};
    for (const auto& f : formats) {
        said.clear();
        savePath = dir.filePath(QStringLiteral("out"));  // the suffix is added
        item(f.item)->trigger();
        const QString path = savePath + QLatin1Char('.') + QLatin1String(f.suffix);
        EXPECT_TRUE(suggestions.last().endsWith(U("街区点_交7.") + QLatin1String(f.suffix)));
        // 4 main points and 3 × (BC, 6 corners, EC) of the circumscribed scheme.
        EXPECT_EQ(said, QStringList{U("%1:28 点を %2に書き出しました。\n%3").arg(item(f.item)->text().section('(', 0, 0), U(f.kind), path)});
        QString text;
        EXPECT_TRUE(DecodeCp932(test::ReadAll(path), text) && text.contains(U("交7OEC"))) << f.suffix;
    }
    EXPECT_EQ(s.ExpCount, 0) << "the shared export list is the preview's alone";

    // A folder that is not there: the reason is shown and nothing is written.
    said.clear();
    savePath = dir.filePath(QStringLiteral("none/out.csv"));
    item("MENUEXPORT1_2")->trigger();
    ASSERT_EQ(said.size(), 1);
    EXPECT_TRUE(said[0].startsWith(U("CSV出力:%1 に書けません: ").arg(savePath))) << said[0].toStdString();
}

}  // namespace
}  // namespace tovanel

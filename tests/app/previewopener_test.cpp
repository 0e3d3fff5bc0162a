// The print command with the real preview: composed from the main window's state, one window at
// a time, and the close button handing the computed points to the clipboard.

#include "app/monitfm.h"
#include "app/previewopener.h"
#include "calc/calcstate.h"
#include "print/pview.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

struct Shown {
    QMessageBox::Icon icon;
    QString title, text;
};

struct PrintCommand : ::testing::Test {
    void SetUp() override
    {
        QFile ini(dir.filePath(QStringLiteral("Tovanel.INI")));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
        for (const char* l : {"4", "3", "0.05", "10", "0.01", "0", "0", "0", "0", "0", "\"C\"",
                              "\"I\"", "\"O\"", "\"0\"", "\"2\"", "\"\"", "\"\"", "\"\"", "\"\"", "\"\""})
            ini.write(QByteArray(l) + "\r\n");
        ini.close();
        auto record = [this](QWidget*, QMessageBox::Icon icon, const QString& title,
                             const QString& text) { shown.push_back({icon, title, text}); };
        w = std::make_unique<MonitFM>(
            s, printer, MonitFM::Setup{dir.path(), ini.fileName(), record, [] {}});
        InstallPreview(*w);
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    }
    void TearDown() override { w.reset(); }

    /// A right turn of 90° at IP (100, 100) with radius 100, divided in 4.
    void trial()
    {
        const char* xy[] = {"0", "0", "100", "100", "0", "200"};
        for (int i = 0; i < 3; ++i) {
            w->XText(i)->setText(QString::fromUtf8(xy[2 * i]));
            w->YText(i)->setText(QString::fromUtf8(xy[2 * i + 1]));
        }
        w->DTText(0)->setText(QStringLiteral("7"));
        w->DTText(4)->setText(QStringLiteral("100"));
        w->TXT1()->setText(QStringLiteral("4"));
        w->CMD1_Click();
        ASSERT_NE(s.DivCount, 0);
    }
    void print() { w->menuItem(MonitFM::MENUPRINT, 1)->trigger(); }
    int previews() const
    {
        int n = 0;
        for (PVIEW* p : w->findChildren<PVIEW*>())
            n += p->isVisible();
        return n;
    }

    QTemporaryDir dir;
    CalcState s;
    QPrinter printer;
    std::unique_ptr<MonitFM> w;
    std::vector<Shown> shown;
};

TEST_F(PrintCommand, RefusedBeforeATrialAndAfterNew)
{
    print();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral(" 分割数試算を実行して分割の数を確定してください。 "));
    EXPECT_EQ(shown[0].title, QStringLiteral("確認"));
    EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
    EXPECT_EQ(previews(), 0);

    trial();
    w->menuItem(MonitFM::MENUFILE, 1)->trigger();  // 新規作成
    shown.clear();
    print();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, QStringLiteral("確認"));
    EXPECT_EQ(previews(), 0);
}

TEST_F(PrintCommand, OpensOnePreviewOfTheComposedSheets)
{
    trial();
    shown.clear();
    print();
    EXPECT_TRUE(shown.empty());
    PVIEW* v = OpenedPreview(*w);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(s.ShowMode, 1);
    const int pages = v->PageLayout1().pageCount();
    EXPECT_GE(pages, 2);  // the elements sheet, then the block-point sheet
    EXPECT_EQ(v->counterPanel()->text(), PageCounterText(1, pages));
    EXPECT_GT(s.ExpCount, 4);

    v->Cmdato()->click();
    print();  // brought forward as it is: not recomposed, still on page 2
    EXPECT_EQ(OpenedPreview(*w), v);
    EXPECT_EQ(previews(), 1);
    EXPECT_EQ(v->PageLayout1().previewPage(), 2);
}

TEST_F(PrintCommand, CloseButtonPutsTheComputedPointsOnTheClipboard)
{
    trial();
    print();
    PVIEW* v = OpenedPreview(*w);
    ASSERT_NE(v, nullptr);
    shown.clear();
    v->Cmdend()->click();
    EXPECT_EQ(previews(), 0);

    const QStringList lines =
        QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, QStringLiteral("登録"));
    EXPECT_EQ(shown[0].text, QStringLiteral(" %1点の座標値をクリップボードに貼り付けました。").arg(lines.size()));
    ASSERT_GE(lines.size(), 4);
    // The main points and the centre as the trial computed them, all 15 digits.
    struct Point {
        const char* name;
        double x, y;
    };
    const Point expected[] = {{"BC 7", s.BcX, s.BcY},
                              {"SP 7", s.SpX, s.SpY},
                              {"EC 7", s.EcX, s.EcY},
                              {"M 7", s.CenX, s.CenY}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(lines[i], QStringLiteral("\t%1\t%2\t%3")
                                .arg(QString::fromUtf8(expected[i].name))
                                .arg(expected[i].x, 0, 'g', 15)
                                .arg(expected[i].y, 0, 'g', 15));
    }
    // Worked by hand: TL = 100, the centre 100·√2 from IP (the angle routines carry a few
    // nanometres of their own).
    const double h = 100 - 50 * std::sqrt(2.0);
    EXPECT_NEAR(s.BcX, h, 1e-6);
    EXPECT_NEAR(s.EcY, 200 - h, 1e-6);
    EXPECT_NEAR(s.CenX, 100 - 100 * std::sqrt(2.0), 1e-6);
    for (int i = 1; i < lines.size(); ++i)
        EXPECT_NE(lines[i].section(QLatin1Char('\t'), 1, 1), lines[i - 1].section(QLatin1Char('\t'), 1, 1))
            << "a name repeated on the next line is written once";
}

}  // namespace
}  // namespace tovanel

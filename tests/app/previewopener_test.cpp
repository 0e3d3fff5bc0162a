// The print command with the real preview and the real sheets.

#include "app/monitfm.h"
#include "app/previewopener.h"
#include "calc/calcstate.h"
#include "print/pview.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace tovanel {
namespace {

TEST(PrintCommand, OpensOnePreviewAfterATrialAndItsCloseButtonExportsThePoints)
{
    QTemporaryDir dir;
    QFile ini(dir.filePath(QStringLiteral("Tovanel.INI")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("4\r\n3\r\n0.05\r\n10\r\n0.01\r\n0\r\n0\r\n0\r\n0\r\n0\r\n\"C\"\r\n\"I\"\r\n\"O\"\r\n"
              "\"0\"\r\n\"2\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n\"\"\r\n");
    ini.close();
    CalcState s;
    QPrinter printer;
    QStringList shown;
    MonitFM w(s, printer, {dir.path(), ini.fileName(),
                           [&](QWidget*, QMessageBox::Icon, const QString& title, const QString& text) {
                               shown << title + ":" + text;
                           },
                           [] {}});
    InstallPreview(w);
    auto print = [&] { w.menuItem(MonitFM::MENUPRINT, 1)->trigger(); };

    print();
    EXPECT_EQ(shown, QStringList{QStringLiteral("確認: 分割数試算を実行して分割の数を確定してください。 ")});
    EXPECT_EQ(OpenedPreview(w), nullptr);

    // A right turn of 90° at IP (100, 100), radius 100, in 4 divisions.
    const char* xy[] = {"0", "0", "100", "100", "0", "200"};
    for (int i = 0; i < 3; ++i) {
        w.XText(i)->setText(QString::fromUtf8(xy[2 * i]));
        w.YText(i)->setText(QString::fromUtf8(xy[2 * i + 1]));
    }
    w.DTText(0)->setText(QStringLiteral("7"));
    w.DTText(4)->setText(QStringLiteral("100"));
    w.TXT1()->setText(QStringLiteral("4"));
    w.CMD1_Click();
    shown.clear();
    print();
    PVIEW* v = OpenedPreview(w);
    ASSERT_NE(v, nullptr);
    EXPECT_GE(v->PageLayout1().pageCount(), 2);  // the elements sheet, then the block points
    v->Cmdato()->click();
    print();  // brought forward as it is: the same window, still on page 2
    EXPECT_EQ(OpenedPreview(w), v);
    EXPECT_EQ(w.findChildren<PVIEW*>().size(), 1);
    EXPECT_EQ(v->PageLayout1().previewPage(), 2);

    v->Cmdend()->click();
    EXPECT_EQ(OpenedPreview(w), nullptr);
    const QStringList lines =
        QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(shown, QStringList{QStringLiteral("登録: %1点の座標値をクリップボードに貼り付けました。").arg(lines.size())});
    // First the main points and the centre as the trial computed them, in 15 digits.
    auto line = [](const char* name, double x, double y) {
        return QStringLiteral("\t%1\t%2\t%3").arg(QString::fromUtf8(name)).arg(x, 0, 'g', 15).arg(y, 0, 'g', 15);
    };
    EXPECT_EQ(lines.mid(0, 4), (QStringList{line("BC 7", s.BcX, s.BcY), line("SP 7", s.SpX, s.SpY),
                                            line("EC 7", s.EcX, s.EcY), line("M 7", s.CenX, s.CenY)}));
    EXPECT_NEAR(s.BcX, 100 - 50 * std::sqrt(2.0), 1e-6);  // TL = R for a right angle

    w.menuItem(MonitFM::MENUFILE, 1)->trigger();  // 新規作成: refused again
    shown.clear();
    print();
    EXPECT_EQ(shown.size(), 1);
    EXPECT_EQ(OpenedPreview(w), nullptr);
}

}  // namespace
}  // namespace tovanel

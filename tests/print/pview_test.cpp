#include "calc/calcstate.h"
#include "print/exportlist.h"
#include "print/pageview.h"
#include "print/priform.h"
#include "print/pview.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace tovanel::test {
namespace {

struct Shown {
    QMessageBox::Icon icon;
    QString title, text;
};

/// The preview over a stand-in composition: `pages` pages and the points the test lists; every
/// dialog answered by the test instead of the user.
struct Preview : ::testing::Test {
    PVIEW& open(int16_t showMode = 1, const QPrinter* appPrinter = nullptr)
    {
        s.ShowMode = showMode;
        PreviewHooks h;
        h.message = [this](QWidget*, QMessageBox::Icon i, const QString& t, const QString& x) {
            shown.push_back({i, t, x});
        };
        h.saveFileName = [this](QWidget*, const QString&, const QString& proposed, const QString&) {
            ++fileDialogs;
            suggested = proposed;
            return savePath;
        };
        h.pageSetup = [this](QWidget*, QPrinter& p) { return pageSetup(p); };
        h.execDialog = [this](QDialog& d) { onDialog(static_cast<PriForm&>(d)); };
        h.printers = [this] { return printers; };
        h.defaultPrinter = [] { return QString(); };
        auto compose = [this](CalcState& st, PageLayout& pl) -> QString {
            ++composed;
            hourglass = QGuiApplication::overrideCursor() != nullptr;
            if (!refusal.isEmpty()) return refusal;
            ClearExportList(st);
            pl.startDoc();
            for (int k = 2; k <= pages; ++k) pl.newPage();
            for (const auto& [name, x, y] : points) {
                st.ExpName = QString::fromUtf8(name);
                st.ExpX = x;
                st.ExpY = y;
                PointAdd(st);
            }
            pl.endDoc();
            return {};
        };
        view = new PVIEW(s, PVIEW::Setup{compose, appPrinter, h});
        view->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(view));
        return *view;
    }
    bool unloaded()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return view.isNull();
    }
    void TearDown() override { delete view.data(); }

    CalcState s;
    int pages = 1, composed = 0, fileDialogs = 0;
    bool hourglass = false;
    QString refusal, savePath, suggested;
    std::vector<std::tuple<const char*, double, double>> points;
    std::vector<Shown> shown;
    QStringList printers;
    std::function<bool(QPrinter&)> pageSetup = [](QPrinter&) { return false; };
    std::function<void(PriForm&)> onDialog = [](PriForm& f) { f.Command2_Click(); };
    QPointer<PVIEW> view;
};

TEST_F(Preview, LoadsInLandscapeOnTheProgramsPaperAndComposesOnlyForShowMode1)
{
    QPrinter appPrinter;
    appPrinter.setPageSize(QPageSize(QPageSize::JisB4));
    pages = 3;
    PVIEW& v = open(1, &appPrinter);
    EXPECT_EQ(v.windowTitle(), QStringLiteral("Zoom"));
    EXPECT_EQ(v.PageLayout1().zoom(), 75);
    EXPECT_EQ(v.PageLayout1().orientation(), kLandscape);
    EXPECT_EQ(v.PageLayout1().paperSize(), kPaperB4);
    EXPECT_EQ(s.PaperName, QStringLiteral("B4"));
    EXPECT_EQ(composed, 1);
    EXPECT_TRUE(hourglass);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(v.counterPanel()->text(), QStringLiteral(" 頁 1 / 3"));
    const int bar = v.StatusBar1()->sizeHint().height();
    for (const QSize size : {QSize(900, 600), QSize(120, 1)}) {  // the view never goes negative
        v.resize(size);
        EXPECT_EQ(v.pageView()->geometry(), QRect(0, 26, v.width(), std::max(0, v.height() - bar - 26)));
    }
    delete view.data();

    PVIEW& other = open(9);
    EXPECT_EQ(composed, 1);
    EXPECT_EQ(other.counterPanel()->text(), QStringLiteral(" 頁 1 / 0"));
}

TEST_F(Preview, ARefusedCompositionIsShownAndLeavesNoPages)
{
    refusal = QStringLiteral("計算の種類が選ばれていません。");
    PVIEW& v = open();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, QStringLiteral("確認"));
    EXPECT_EQ(shown[0].text, refusal);
    EXPECT_EQ(v.PageLayout1().pageCount(), 0);
}

TEST_F(Preview, PagingStaysWithinTheDocument)
{
    struct Case {
        int pages;
        std::vector<int> clicks;  // FlipPage arguments
        int page;
        bool previous, next;
    };
    const Case cases[] = {
        {1, {2, 1}, 1, false, false},   {3, {}, 1, false, true},
        {3, {2}, 2, true, true},        {3, {2, 2, 2, 2}, 3, true, false},
        {3, {2, 2, 1, 1, 1}, 1, false, true}, {3, {2, 0, 3, -1}, 2, true, true},
    };
    for (const Case& c : cases) {
        pages = c.pages;
        PVIEW& v = open();
        for (int b : c.clicks)
            b == 2 ? v.Cmdato()->click() : b == 1 ? v.Cmdmae()->click() : v.FlipPage(b);
        SCOPED_TRACE(::testing::Message() << c.pages << " pages, " << c.clicks.size() << " clicks");
        EXPECT_EQ(v.counterPanel()->text(), PageCounterText(c.page, c.pages));
        EXPECT_EQ(v.Cmdmae()->isEnabled(), c.previous);
        EXPECT_EQ(v.Cmdato()->isEnabled(), c.next);
        delete view.data();
    }
}

TEST_F(Preview, ZoomMovesIn25StepsBetween25And150)
{
    struct Case {
        std::vector<int> clicks;  // cmdZoom indices, only while enabled
        const char* caption;
        bool in, out;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, "Zoom 150%", false, true}, {{0, 0, 0, 1}, "Zoom 125%", true, true},
        {{1, 1, 1}, "Zoom 25%", true, false},     {{1, 1, 0}, "Zoom 50%", true, true},
    };
    for (const Case& c : cases) {
        PVIEW& v = open();
        const int width75 = v.pageView()->paperPixels().width();
        for (int i : c.clicks)
            if (v.cmdZoom(i)->isEnabled()) v.cmdZoom(i)->click();
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(v.windowTitle(), QString::fromUtf8(c.caption));
        EXPECT_EQ(v.cmdZoom(0)->isEnabled(), c.in);
        EXPECT_EQ(v.cmdZoom(1)->isEnabled(), c.out);
        EXPECT_NEAR(v.pageView()->paperPixels().width(), width75 * v.PageLayout1().zoom() / 75.0, 1);
        delete view.data();
    }
}

TEST_F(Preview, PageSetUpChangesThePaperButRecomposesNothing)
{
    PVIEW& v = open();
    pageSetup = [](QPrinter& p) {
        EXPECT_EQ(p.pageLayout().orientation(), QPageLayout::Landscape);
        p.setPageLayout(QPageLayout(QPageSize(QPageSize::A3), QPageLayout::Portrait, {}));
        return true;
    };
    v.Command1()->click();
    EXPECT_EQ(v.PageLayout1().paperSize(), kPaperA3);
    EXPECT_EQ(v.PageLayout1().orientation(), kPortrait);
    EXPECT_EQ(composed, 1);
    EXPECT_EQ(s.PaperName, QStringLiteral("A4"));
}

TEST_F(Preview, CloseButtonPutsEachPointOnceOnTheClipboardForEitherEdition)
{
    struct Case {
        const char* edition;
        const char* lead;
    };
    for (const Case& c : {Case{"1", ""}, Case{"2", "\t"}, Case{"", "\t"}}) {
        s.IniStr[5] = QString::fromUtf8(c.edition);
        points = {{"BC 7", 12.5, -3},
                  {"EC 7", 100, 0.1 + 0.2},
                  {"EC 7", 100, 0.3},  // the same name again: written once
                  {"BC 7", 1e-7, 123456789.123456789}};
        shown.clear();
        open().Cmdend()->click();
        const QString lead = QString::fromUtf8(c.lead);
        EXPECT_EQ(QGuiApplication::clipboard()->text(),
                  lead + "BC 7\t12.5\t-3\r\n" + lead + "EC 7\t100\t0.3\r\n" + lead +
                      "BC 7\t1e-07\t123456789.123457\r\n") << c.edition;
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].icon, QMessageBox::Information);
        EXPECT_EQ(shown[0].title, QStringLiteral("登録"));
        EXPECT_EQ(shown[0].text, QStringLiteral(" 3点の座標値をクリップボードに貼り付けました。"));
        EXPECT_TRUE(unloaded());
    }
}

TEST_F(Preview, OnlyTheCloseButtonExportsAndOnlyAListThatHoldsPoints)
{
    points = {{"BC 1", 1, 2}};
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    open().close();  // the title bar's close box
    EXPECT_TRUE(unloaded());
    points.clear();
    open().Cmdend()->click();
    EXPECT_TRUE(unloaded());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(Preview, PrintButtonOffersTheWholeDocumentAndSaysWhenNoPrinterExists)
{
    pages = 4;
    PVIEW& v = open();
    printers = {QStringLiteral("Office")};
    s.PaperName = QStringLiteral("B5");
    onDialog = [](PriForm& f) {
        EXPECT_EQ(f.Dvc()->text() + f.PSize()->text() + f.POri()->text(), QStringLiteral("OfficeB5横方向"));
        EXPECT_EQ(f.Text1()->text() + "-" + f.Text2()->text(), QStringLiteral("1-4"));
        f.Command2()->click();
    };
    v.cmdToPrinter()->click();
    EXPECT_EQ(s.PrintTo, 4);
    EXPECT_TRUE(shown.empty());

    printers.clear();
    onDialog = [](PriForm& f) {
        EXPECT_EQ(f.Dvc()->text(), kNoPrinterText);
        f.Command1()->click();
    };
    v.cmdToPrinter()->click();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].title, QStringLiteral("印刷"));
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("使用できるプリンタがありません。")));
}

TEST_F(Preview, PdfButtonSavesEveryPageOrSaysWhyNot)
{
    QTemporaryDir dir;
    struct Case {
        int16_t showMode;
        QString path;
        int fileDialogs;
        QMessageBox::Icon icon;
    };
    const Case cases[] = {
        {1, dir.filePath(QStringLiteral("sheets")), 1, QMessageBox::Information},
        {1, QStringLiteral("/nonexistent-folder/x.pdf"), 1, QMessageBox::Warning},
        {2, dir.filePath(QStringLiteral("empty.pdf")), 0, QMessageBox::Warning},
    };
    pages = 3;
    s.IPNo = [] { return QStringLiteral("7/2"); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        shown.clear();
        fileDialogs = 0;
        savePath = c.path;
        open(c.showMode).CmdPdf()->click();
        EXPECT_EQ(fileDialogs, c.fileDialogs);
        EXPECT_EQ(shown.size(), c.icon == QMessageBox::NoIcon ? 0u : 1u);
        if (!shown.empty()) {
            EXPECT_EQ(shown[0].icon, c.icon);
        }
        delete view.data();
    }
    EXPECT_TRUE(suggested.endsWith(QStringLiteral("/計算書_7_2.pdf"))) << suggested.toStdString();
    QFile pdf(dir.filePath(QStringLiteral("sheets.pdf")));  // the suffix is added
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.readAll().count("/Type /Page\n"), 3);
}

}  // namespace
}  // namespace tovanel::test

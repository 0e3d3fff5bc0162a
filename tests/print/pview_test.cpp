#include "previewfixture.h"

#include "print/pageview.h"
#include "print/priform.h"
#include "support/modalguard.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPageLayout>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>

namespace tovanel::test {
namespace {

using PreviewTest = PreviewFixture;

TEST_F(PreviewTest, LoadingComposesOnceInLandscapeAtZoom75UnderTheHourglass)
{
    composition.pages = 3;
    PVIEW& v = open();
    EXPECT_EQ(v.windowTitle(), QStringLiteral("Zoom"));
    EXPECT_EQ(v.PageLayout1().zoom(), 75);
    EXPECT_EQ(v.PageLayout1().orientation(), kLandscape);
    EXPECT_EQ(s.PaperName, QStringLiteral("A4"));
    EXPECT_EQ(composition.calls, 1);
    EXPECT_TRUE(composition.hourglassWhileComposing);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(v.counterPanel()->text(), QStringLiteral(" 頁 1 / 3"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(PreviewTest, OtherShowModesComposeNothing)
{
    for (int16_t mode : {0, 2, 9}) {
        composition.calls = 0;
        PVIEW& v = open(mode);
        EXPECT_EQ(composition.calls, 0) << mode;
        EXPECT_EQ(v.PageLayout1().pageCount(), 0) << mode;
        EXPECT_EQ(v.counterPanel()->text(), QStringLiteral(" 頁 1 / 0")) << mode;
        EXPECT_FALSE(v.Cmdmae()->isEnabled()) << mode;
        v.FlipPage(2);  // a next page that is not there is never shown
        EXPECT_EQ(v.PageLayout1().previewPage(), 1) << mode;
        delete view.data();
    }
}

TEST_F(PreviewTest, ARefusedCompositionIsShownAndLeavesNoPages)
{
    composition.refusal = QStringLiteral("計算の種類が選ばれていません。");
    PVIEW& v = open();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
    EXPECT_EQ(shown[0].title, QStringLiteral("確認"));
    EXPECT_EQ(shown[0].text, composition.refusal);
    EXPECT_EQ(v.PageLayout1().pageCount(), 0);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PreviewTest, ButtonsSitInTheRowWithTheirCaptions)
{
    PVIEW& v = open();
    struct Row {
        QPushButton* button;
        const char* caption;
        int left, width;  // pixels: twips / 15
    };
    const Row rows[] = {
        {v.cmdToPrinter(), "印刷", 8, 67},   {v.Command1(), "頁設定", 80, 65},
        {v.Cmdmae(), "前　頁", 152, 67},     {v.Cmdato(), "次　頁", 224, 67},
        {v.cmdZoom(0), "拡大(&I)", 296, 67}, {v.cmdZoom(1), "縮小(&O)", 368, 67},
        {v.CmdPdf(), "PDF保存", 440, 73},    {v.Cmdend(), "閉じる", 520, 67},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.caption);
        EXPECT_EQ(r.button->text(), QString::fromUtf8(r.caption));
        EXPECT_EQ(r.button->geometry(), QRect(r.left, 0, r.width, 25));
    }
}

struct PagingCase {
    const char* name;
    int pages;
    std::vector<int> clicks;  // FlipPage arguments, in order
    int page;
    bool previousEnabled, nextEnabled;
};
void PrintTo(const PagingCase& c, std::ostream* os) { *os << c.name; }


class PagingTest : public PreviewFixture, public ::testing::WithParamInterface<PagingCase> {};

TEST_P(PagingTest, CounterAndButtonsFollowThePage)
{
    const PagingCase& c = GetParam();
    composition.pages = c.pages;
    PVIEW& v = open();
    for (int b : c.clicks) b == 2 ? v.Cmdato()->click() : b == 1 ? v.Cmdmae()->click() : v.FlipPage(b);
    EXPECT_EQ(v.PageLayout1().previewPage(), c.page);
    EXPECT_EQ(v.counterPanel()->text(), PageCounterText(c.page, c.pages));
    EXPECT_EQ(v.Cmdmae()->isEnabled(), c.previousEnabled);
    EXPECT_EQ(v.Cmdato()->isEnabled(), c.nextEnabled);
}

const PagingCase kPaging[] = {
    {"OnePage", 1, {}, 1, false, false},
    {"OnePageNext", 1, {2, 2}, 1, false, false},
    {"ThreePagesStart", 3, {}, 1, false, true},
    {"ThreePagesMiddle", 3, {2}, 2, true, true},
    {"ThreePagesLast", 3, {2, 2}, 3, true, false},
    {"ThreePagesNeverPastTheLast", 3, {2, 2, 2, 2}, 3, true, false},
    {"ThreePagesBackToTheFirst", 3, {2, 2, 1, 1, 1}, 1, false, true},
    {"OtherValuesChangeNothing", 3, {2, 0, 3, -1}, 2, true, true},
};
INSTANTIATE_TEST_SUITE_P(Preview, PagingTest, ::testing::ValuesIn(kPaging),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreviewTest, CounterTextIsPlainIntegers)
{
    EXPECT_EQ(PageCounterText(2, 3), QStringLiteral(" 頁 2 / 3"));
    EXPECT_EQ(PageCounterText(10, 120), QStringLiteral(" 頁 10 / 120"));
}

struct ZoomCase {
    const char* name;
    std::vector<int> clicks;  // cmdZoom indices
    int zoom;
    const char* caption;
    bool inEnabled, outEnabled;
};
void PrintTo(const ZoomCase& c, std::ostream* os) { *os << c.name; }


class ZoomTest : public PreviewFixture, public ::testing::WithParamInterface<ZoomCase> {};

TEST_P(ZoomTest, StepsOf25Between25And150)
{
    const ZoomCase& c = GetParam();
    PVIEW& v = open();
    const QSize before = v.pageView()->paperPixels();
    for (int i : c.clicks) v.cmdZoom(i)->isEnabled() ? v.cmdZoom(i)->click() : void();
    EXPECT_EQ(v.PageLayout1().zoom(), c.zoom);
    EXPECT_EQ(v.windowTitle(), QString::fromUtf8(c.caption));
    EXPECT_EQ(v.cmdZoom(0)->isEnabled(), c.inEnabled);
    EXPECT_EQ(v.cmdZoom(1)->isEnabled(), c.outEnabled);
    // The paper on the screen follows the zoom.
    EXPECT_NEAR(v.pageView()->paperPixels().width(), before.width() * c.zoom / 75.0, 1.0);
}

const ZoomCase kZoom[] = {
    {"NoClickNoNumber", {}, 75, "Zoom", true, true},
    {"InOnce", {0}, 100, "Zoom 100%", true, true},
    {"InThriceDisablesIn", {0, 0, 0}, 150, "Zoom 150%", false, true},
    {"InStopsAt150", {0, 0, 0, 0}, 150, "Zoom 150%", false, true},
    {"OutReenablesIn", {0, 0, 0, 1}, 125, "Zoom 125%", true, true},
    {"OutTwiceDisablesOut", {1, 1}, 25, "Zoom 25%", true, false},
    {"InReenablesOut", {1, 1, 0}, 50, "Zoom 50%", true, true},
};
INSTANTIATE_TEST_SUITE_P(Preview, ZoomTest, ::testing::ValuesIn(kZoom),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreviewTest, ThePageViewLiesBetweenButtonsAndStatusBarAndNeverGoesNegative)
{
    PVIEW& v = open();
    const int bar = v.StatusBar1()->sizeHint().height();
    for (const QSize size : {QSize(900, 600), QSize(700, 400), QSize(300, 30), QSize(120, 1)}) {
        v.resize(size);
        QCoreApplication::processEvents();
        const QSize got = v.size();  // the platform may refuse to go that small
        const QRect view = v.pageView()->geometry();
        EXPECT_EQ(view.top(), 26) << got.width() << "x" << got.height();
        EXPECT_EQ(view.left(), 0);
        EXPECT_EQ(view.width(), got.width());
        EXPECT_EQ(view.height(), std::max(0, got.height() - bar - 26));
        EXPECT_GE(view.height(), 0);
    }
}

TEST_F(PreviewTest, PageSetUpChangesThePaperOnlyAndRecomposesNothing)
{
    composition.pages = 2;
    PVIEW& v = open();
    QPageLayout offered;
    pageSetup = [&](QPrinter& printer) {
        offered = printer.pageLayout();
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A3), QPageLayout::Portrait, {}));
        return true;
    };
    v.Command1()->click();
    EXPECT_EQ(offered.pageSize().id(), QPageSize::A4);
    EXPECT_EQ(offered.orientation(), QPageLayout::Landscape);
    EXPECT_EQ(v.PageLayout1().paperSize(), kPaperA3);
    EXPECT_EQ(v.PageLayout1().orientation(), kPortrait);
    EXPECT_EQ(composition.calls, 1);
    EXPECT_EQ(s.PaperName, QStringLiteral("A4"));
    EXPECT_DOUBLE_EQ(s.PaperScale, 1);

    pageSetup = [](QPrinter& printer) {
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A5), QPageLayout::Landscape, {}));
        return false;  // cancelled
    };
    v.Command1()->click();
    EXPECT_EQ(v.PageLayout1().paperSize(), kPaperA3);
}

TEST_F(PreviewTest, TheProgramsPrinterGivesThePaperWhenTheWindowLoads)
{
    QPrinter appPrinter;
    appPrinter.setPageSize(QPageSize(QPageSize::JisB4));
    s.ShowMode = 1;
    view = new PVIEW(s, PVIEW::Setup{composition.fn(), &appPrinter, hooks()});
    EXPECT_EQ(view->PageLayout1().paperSize(), kPaperB4);
    EXPECT_EQ(view->PageLayout1().orientation(), kLandscape);
    EXPECT_EQ(s.PaperName, QStringLiteral("B4"));
    EXPECT_DOUBLE_EQ(s.PaperScale, 1.19);
}

// --- the close button

struct CloseCase {
    const char* name;
    const char* edition;  // IniStr[5]
    const char* text;
    const char* message;
};
void PrintTo(const CloseCase& c, std::ostream* os) { *os << c.name; }


class CloseTest : public PreviewFixture, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseTest, ClipboardHoldsEveryPointOnceAndTheCountIsReported)
{
    const CloseCase& c = GetParam();
    s.IniStr[5] = QString::fromUtf8(c.edition);
    composition.points = {{"BC 7", 12.5, -3},      {"EC 7", 100, 0.1 + 0.2},
                          {"EC 7", 100, 0.1 + 0.2}, {"BC 7", 1e-7, 123456789.123456789}};
    PVIEW& v = open();
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    v.Cmdend()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8(c.text));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, QMessageBox::Information);
    EXPECT_EQ(shown[0].title, QStringLiteral("登録"));
    EXPECT_EQ(shown[0].text, QString::fromUtf8(c.message));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull()) << "the window is unloaded";
}

const CloseCase kClose[] = {
    {"DentaEdition", "1",
     "BC 7\t12.5\t-3\r\nEC 7\t100\t0.3\r\nBC 7\t1e-07\t123456789.123457\r\n",
     " 3点の座標値をクリップボードに貼り付けました。"},
    {"StravonEdition", "2",
     "\tBC 7\t12.5\t-3\r\n\tEC 7\t100\t0.3\r\n\tBC 7\t1e-07\t123456789.123457\r\n",
     " 3点の座標値をクリップボードに貼り付けました。"},
    {"EmptySettingLeadsWithATab", "",
     "\tBC 7\t12.5\t-3\r\n\tEC 7\t100\t0.3\r\n\tBC 7\t1e-07\t123456789.123457\r\n",
     " 3点の座標値をクリップボードに貼り付けました。"},
};
INSTANTIATE_TEST_SUITE_P(Preview, CloseTest, ::testing::ValuesIn(kClose),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PreviewTest, ClosingThroughTheTitleBarExportsNothing)
{
    composition.points = {{"BC 1", 1, 2}};
    PVIEW& v = open();
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    v.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    EXPECT_TRUE(shown.empty());
}

TEST_F(PreviewTest, AnEmptyListLeavesTheClipboardAndShowsNoMessage)
{
    PVIEW& v = open(2);  // nothing composed, nothing listed
    QGuiApplication::clipboard()->setText(QStringLiteral("kept"));
    v.Cmdend()->click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("kept"));
    EXPECT_TRUE(shown.empty());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(view.isNull());
}

// --- print and PDF buttons

TEST_F(PreviewTest, PrintButtonOpensTheDialogOverTheWholeDocument)
{
    composition.pages = 4;
    printers = {QStringLiteral("Office"), QStringLiteral("Plotter")};
    defaultPrinter = QStringLiteral("Plotter");
    PVIEW& v = open();
    PriForm* seen = nullptr;
    onDialog = [&](QDialog& d) {
        seen = qobject_cast<PriForm*>(&d);
        ASSERT_NE(seen, nullptr);
        EXPECT_EQ(seen->Dvc()->text(), QStringLiteral("Plotter"));
        EXPECT_EQ(seen->Text1()->text(), QStringLiteral("1"));
        EXPECT_EQ(seen->Text2()->text(), QStringLiteral("4"));
        seen->Command2()->click();
    };
    v.cmdToPrinter()->click();
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(s.PrintFrom, 1);
    EXPECT_EQ(s.PrintTo, 4);
    EXPECT_TRUE(shown.empty());
}

TEST_F(PreviewTest, WithoutAPrinterTheDialogSaysSoAndOkExplains)
{
    composition.pages = 2;
    PVIEW& v = open();
    onDialog = [&](QDialog& d) {
        auto& form = static_cast<PriForm&>(d);
        EXPECT_EQ(form.Dvc()->text(), kNoPrinterText);
        form.Command1()->click();
    };
    v.cmdToPrinter()->click();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
    EXPECT_EQ(shown[0].title, QStringLiteral("印刷"));
    EXPECT_TRUE(shown[0].text.startsWith(QStringLiteral("使用できるプリンタがありません。")))
        << shown[0].text.toStdString();
    EXPECT_EQ(v.PageLayout1().docName(), QStringLiteral("票印刷"));
}

TEST_F(PreviewTest, PdfButtonSavesEveryPage)
{
    composition.pages = 3;
    PVIEW& v = open();
    QTemporaryDir dir;
    savePath = dir.filePath(QStringLiteral("sheets"));  // the suffix is added
    v.CmdPdf()->click();
    EXPECT_TRUE(suggestedPath.endsWith(QStringLiteral(".pdf")));
    QFile pdf(savePath + QStringLiteral(".pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n"), 3);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].icon, QMessageBox::Information);
    EXPECT_EQ(shown[0].title, QStringLiteral("PDF保存"));
}

TEST_F(PreviewTest, PdfButtonReportsWhatCannotBeSaved)
{
    struct Case {
        const char* name;
        int16_t showMode;
        QString path;
        bool fileDialogShown;
    };
    const Case cases[] = {
        {"NoPages", 2, QStringLiteral("/tmp/never.pdf"), false},
        {"UnwritableFolder", 1, QStringLiteral("/nonexistent-folder/x.pdf"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        shown.clear();
        suggestedPath.clear();
        savePath = c.path;
        PVIEW& v = open(c.showMode);
        v.CmdPdf()->click();
        EXPECT_EQ(!suggestedPath.isEmpty(), c.fileDialogShown);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0].icon, QMessageBox::Warning);
        EXPECT_EQ(shown[0].title, QStringLiteral("PDF保存"));
        delete view.data();
    }
}

TEST_F(PreviewTest, CancellingTheFileDialogSavesNothing)
{
    PVIEW& v = open();
    savePath.clear();
    v.CmdPdf()->click();
    EXPECT_FALSE(suggestedPath.isEmpty());
    EXPECT_TRUE(shown.empty());
}

}  // namespace
}  // namespace tovanel::test

#include "calc/calcstate.h"
#include "print/pagelayout.h"
#include "print/priform.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <optional>
#include <vector>

namespace tovanel::test {
namespace {

struct NumberCase {
    const char* text;
    std::optional<int16_t> page;
};

TEST(PageNumberOf, LeadingNumberRoundedHalfToEvenWithin16Bits)
{
    const NumberCase cases[] = {
        {"2", 2},          {"2abc", 2},        {"  3 ", 3},       {"2.5", 2},
        {"3.5", 4},        {"0", 0},           {"", 0},           {"abc", 0},
        {"-1", -1},        {"32767", 32767},   {"32767.4", 32767}, {"32767.5", std::nullopt},
        {"32768", std::nullopt}, {"99999", std::nullopt}, {"-32768", -32768},
        {"-32769", std::nullopt}, {"1e10", std::nullopt}, {"1e400", std::nullopt},
    };
    for (const NumberCase& c : cases)
        EXPECT_EQ(PageNumberOf(QString::fromUtf8(c.text)), c.page) << c.text;
}

/// One step the user takes in the dialog.
struct Step {
    enum Kind { Type1, Type2, Enter1, Enter2, All } kind;
    const char* text = "";
};

struct RangeCase {
    const char* name;
    int printTo;
    std::vector<Step> steps;
    int from, to;
    const char* text1;
    const char* text2;
};
void PrintTo(const RangeCase& c, std::ostream* os) { *os << c.name; }


class RangeTest : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeTest, BoxesFollowTheRangeRules)
{
    const RangeCase& c = GetParam();
    CalcState s;
    s.PrintFrom = 1;
    s.PrintTo = static_cast<int16_t>(c.printTo);
    PageLayout pl;
    std::vector<std::pair<int, int>> printed;
    PriForm f(s, pl, [&](int a, int b) {
        printed.emplace_back(a, b);
        return true;
    });
    for (const Step& st : c.steps) {
        switch (st.kind) {
        case Step::Type1: f.Text1()->setText(QString::fromUtf8(st.text)); break;
        case Step::Type2: f.Text2()->setText(QString::fromUtf8(st.text)); break;
        case Step::Enter1: f.Text1_KeyPress(); break;
        case Step::Enter2: f.Text2_KeyPress(); break;
        case Step::All: f.Option1()->click(); break;
        }
    }
    EXPECT_EQ(f.FromPage(), c.from);
    EXPECT_EQ(f.ToPage(), c.to);
    EXPECT_EQ(f.Text1()->text(), QString::fromUtf8(c.text1));
    EXPECT_EQ(f.Text2()->text(), QString::fromUtf8(c.text2));
    // OK passes the range on unchanged.
    f.Command1()->click();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], std::make_pair(c.from, c.to));
    EXPECT_EQ(pl.docName(), QStringLiteral("票印刷"));
    EXPECT_EQ(f.result(), QDialog::Accepted);
}

using S = Step;
const RangeCase kRanges[] = {
    {"OkAtOnceIsEveryPage", 5, {}, 1, 5, "1", "5"},
    {"FirstZeroKeepsThePrevious", 5, {{S::Type1, "3"}, {S::Type1, "0"}}, 3, 5, "0", "5"},
    {"EnterShowsTheKeptFirst", 5, {{S::Type1, "3"}, {S::Type1, "0"}, {S::Enter1}}, 3, 5, "3", "5"},
    {"FirstAboveTheCount", 5, {{S::Type1, "9"}, {S::Enter1}}, 1, 5, "1", "5"},
    {"FirstBelowTheFirstPage", 5, {{S::Type1, "-2"}, {S::Enter1}}, 1, 5, "1", "5"},
    {"LastWithin", 5, {{S::Type2, "4"}}, 1, 4, "1", "4"},
    {"LastBelowTheFirstIsTheCount", 5, {{S::Type1, "3"}, {S::Type2, "2"}}, 3, 5, "3", "2"},
    {"LastAboveTheCountIsTheCount", 5, {{S::Type2, "4"}, {S::Type2, "9"}, {S::Enter2}}, 1, 5, "1", "5"},
    {"FirstRaisedPastTheLastIsTaken", 5, {{S::Type2, "2"}, {S::Type1, "4"}}, 4, 2, "4", "2"},
    {"TrailingTextIgnored", 5, {{S::Type1, "2abc"}}, 2, 5, "2abc", "5"},
    {"HalfRoundsToEvenDown", 5, {{S::Type1, "2.5"}}, 2, 5, "2.5", "5"},
    {"HalfRoundsToEvenUp", 5, {{S::Type1, "3.5"}, {S::Type2, "3.5"}}, 4, 4, "3.5", "3.5"},
    {"Overflow16BitFirstIsOutOfRange", 5, {{S::Type1, "2"}, {S::Type1, "99999"}}, 2, 5, "99999", "5"},
    {"Overflow16BitLastIsTheCount", 5, {{S::Type2, "3"}, {S::Type2, "99999"}}, 1, 5, "1", "99999"},
    {"WrapAroundIsNotAPage", 5, {{S::Type1, "65538"}, {S::Enter1}}, 1, 5, "1", "5"},
    {"AllRestoresTheWholeRange", 5, {{S::Type1, "3"}, {S::Type2, "4"}, {S::All}}, 1, 5, "1", "5"},
    {"AllAfterRejectedTextRestoresIt", 5, {{S::Type1, "1"}, {S::Type2, "x"}, {S::All}}, 1, 5, "1", "5"},
    {"OnePageDocument", 1, {{S::Type1, "2"}, {S::Type2, "0"}}, 1, 1, "2", "0"},
};
INSTANTIATE_TEST_SUITE_P(PriForm, RangeTest, ::testing::ValuesIn(kRanges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(PriFormLoad, ShowsPrinterPaperAndOrientation)
{
    struct Case {
        const char* printer;
        int orientation;
        const char* dvc;
        const char* pOri;
    };
    const Case cases[] = {
        {"PDF", kLandscape, "PDF", "横方向"},
        {"", kPortrait, "（使用できるプリンタがありません）", "縦方向"},
    };
    for (const Case& c : cases) {
        CalcState s;
        s.PaperName = QStringLiteral("B5");
        s.PrintFrom = 1;
        s.PrintTo = 2;
        PageLayout pl;
        pl.setPrinterName(QString::fromUtf8(c.printer));
        pl.setOrientation(c.orientation);
        PriForm f(s, pl, [](int, int) { return true; });
        EXPECT_EQ(f.windowTitle(), QStringLiteral("印刷"));
        EXPECT_EQ(f.Dvc()->text(), QString::fromUtf8(c.dvc));
        EXPECT_EQ(f.PSize()->text(), QStringLiteral("B5"));
        EXPECT_EQ(f.POri()->text(), QString::fromUtf8(c.pOri));
    }
}

/// Where typed keys go: the focus widget.
QWidget* focus() { return QApplication::focusWidget(); }

struct DialogFixture : ::testing::Test {
    void SetUp() override
    {
        s.PrintFrom = 1;
        s.PrintTo = 3;
        form = std::make_unique<PriForm>(s, pl, [this](int a, int b) {
            printed.emplace_back(a, b);
            return true;
        });
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    CalcState s;
    PageLayout pl;
    std::vector<std::pair<int, int>> printed;
    std::unique_ptr<PriForm> form;
};

TEST_F(DialogFixture, EnterInTheBoxesMovesOnWithoutPrinting)
{
    form->Option2()->click();
    EXPECT_EQ(QApplication::focusWidget(), form->Text1());
    QCoreApplication::processEvents();  // the box selects its text on getting the focus
    EXPECT_EQ(form->Text1()->selectedText(), QStringLiteral("1"));
    QTest::keyClicks(focus(), QStringLiteral("2"));
    EXPECT_TRUE(form->Option2()->isChecked());
    QTest::keyClick(focus(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form->Text2());
    EXPECT_TRUE(printed.empty());
    form->Text2()->selectAll();
    QTest::keyClicks(focus(), QStringLiteral("7"));
    QTest::keyClick(focus(), Qt::Key_Enter);
    EXPECT_EQ(form->Text2()->text(), QStringLiteral("3"));
    EXPECT_EQ(QApplication::focusWidget(), form->Command1());
    EXPECT_TRUE(printed.empty());
    EXPECT_TRUE(form->isVisible());
    // Enter on the focused OK button prints the range.
    QTest::keyClick(focus(), Qt::Key_Return);
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], std::make_pair(2, 3));
    EXPECT_FALSE(form->isVisible());
}

TEST_F(DialogFixture, TabOrderAndCancel)
{
    EXPECT_EQ(QApplication::focusWidget(), form->Option1());
    const QWidget* expected[] = {form->Text1(), form->Text2(), form->Command1(), form->Command2()};
    form->Text1()->setFocus();
    for (size_t i = 1; i < std::size(expected); ++i) {
        QTest::keyClick(focus(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected[i]) << i;
    }
    form->Command2()->click();
    EXPECT_TRUE(printed.empty());
    EXPECT_EQ(form->result(), QDialog::Rejected);
}

}  // namespace
}  // namespace tovanel::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "print/priform.h"

#include "calc/twips.h"
#include "calc/numeric.h"
#include "widgets/buttonkeys.h"
#include "print/pagelayout.h"
#include "print/printjob.h"

#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cmath>
#include <limits>

namespace tovanel {

namespace {

/// Client area of the dialog, twips: the two frames with a margin.
constexpr double kClientWidth = 6375;
constexpr double kClientHeight = 3495;
/// Labels of the frames are given by their top left corner only.
constexpr double kLabelWidth = 1200;
constexpr double kLabelHeight = 255;

bool IsEnter(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

std::optional<int16_t> PageNumberOf(const QString& text)
{
    const double v = LeadingNumber(text);
    if (!std::isfinite(v)) return std::nullopt;
    const double r = std::nearbyint(v);  // halves to even
    if (r < std::numeric_limits<int16_t>::min() || r > std::numeric_limits<int16_t>::max())
        return std::nullopt;
    return static_cast<int16_t>(r);
}

PriForm::PriForm(PageLayout& pl, const QString& paperName, PrintRange range, PrintFn print, QWidget* parent)
    : QDialog(parent), m_pl(pl), m_paperName(paperName), m_range(range), m_print(std::move(print))
{
    setObjectName(QStringLiteral("PriForm"));
    setWindowTitle(QStringLiteral("印刷"));
    buildControls();
    setFixedSize(Px(kClientWidth), Px(kClientHeight));
    Form_Load();
}

void PriForm::buildControls()
{
    auto label = [](const char* text, QWidget* parent, double l, double t, double w = kLabelWidth,
                    double h = kLabelHeight) {
        auto* lb = new QLabel(QString::fromUtf8(text), parent);
        lb->setGeometry(TwipsRect(l, t, w, h));
        return lb;
    };

    auto* printerFrame = new QGroupBox(QStringLiteral("プリンタ"), this);
    printerFrame->setGeometry(TwipsRect(120, 120, 6135, 1575));
    label("プリンタ名：", printerFrame, 120, 360);
    m_dvc = label("", printerFrame, 1320, 360, 4215, 255);
    m_dvc->setObjectName(QStringLiteral("Dvc"));
    label("用紙サイズ：", printerFrame, 120, 840);
    m_pSize = label("", printerFrame, 1320, 840, 2295, 240);
    m_pSize->setObjectName(QStringLiteral("PSize"));
    label("用紙方向：", printerFrame, 120, 1200);
    m_pOri = label("", printerFrame, 1320, 1200, 2295, 240);
    m_pOri->setObjectName(QStringLiteral("POri"));

    auto* rangeFrame = new QGroupBox(QStringLiteral("印刷範囲"), this);
    rangeFrame->setGeometry(TwipsRect(120, 1800, 4335, 1575));
    m_option1 = new QRadioButton(rangeFrame);
    m_option1->setObjectName(QStringLiteral("Option1"));
    m_option1->setGeometry(TwipsRect(240, 360, 255, 255));
    m_option1Label = label("すべて", rangeFrame, 600, 360);
    m_option2 = new QRadioButton(rangeFrame);
    m_option2->setObjectName(QStringLiteral("Option2"));
    m_option2->setGeometry(TwipsRect(240, 720, 255, 255));
    m_option2Label = label("ページ指定", rangeFrame, 600, 720);
    m_text1 = new QLineEdit(rangeFrame);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setGeometry(TwipsRect(1800, 720, 975, 270));
    label("ページから", rangeFrame, 2880, 720);
    m_text2 = new QLineEdit(rangeFrame);
    m_text2->setObjectName(QStringLiteral("Text2"));
    m_text2->setGeometry(TwipsRect(1800, 1080, 975, 270));
    label("ページまで", rangeFrame, 2880, 1080);

    m_command1 = new QPushButton(QStringLiteral("OK"), this);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setGeometry(TwipsRect(4920, 2280, 1215, 375));
    m_command2 = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_command2->setObjectName(QStringLiteral("Command2"));
    m_command2->setGeometry(TwipsRect(4920, 2880, 1215, 375));
    // Enter prints only from the OK button itself, never from an option or a box.
    EnterPressesFocusedButton(this);

    setTabOrder(m_option1, m_option2);
    setTabOrder(m_option2, m_text1);
    setTabOrder(m_text1, m_text2);
    setTabOrder(m_text2, m_command1);
    setTabOrder(m_command1, m_command2);

    for (QObject* o : {static_cast<QObject*>(m_text1), static_cast<QObject*>(m_text2),
                       static_cast<QObject*>(m_option1Label), static_cast<QObject*>(m_option2Label)})
        o->installEventFilter(this);

    connect(m_option1, &QRadioButton::clicked, this, &PriForm::Option1_Click);
    connect(m_option2, &QRadioButton::clicked, this, &PriForm::Option2_Click);
    connect(m_text1, &QLineEdit::textChanged, this, &PriForm::Text1_Change);
    connect(m_text2, &QLineEdit::textChanged, this, &PriForm::Text2_Change);
    // Typing a page means a page range.
    auto markRange = [this] { m_option2->setChecked(true); };
    connect(m_text1, &QLineEdit::textEdited, this, markRange);
    connect(m_text2, &QLineEdit::textEdited, this, markRange);
    connect(m_command1, &QPushButton::clicked, this, &PriForm::Command1_Click);
    connect(m_command2, &QPushButton::clicked, this, &PriForm::Command2_Click);
}

void PriForm::Form_Load()
{
    const QString printer = m_pl.printerName();
    m_dvc->setText(printer.isEmpty() ? kNoPrinterText : printer);
    m_pSize->setText(m_paperName);
    m_pOri->setText(m_pl.orientation() != kPortrait ? QStringLiteral("横方向")
                                                    : QStringLiteral("縦方向"));
    m_fromPage = m_range.PrintFrom;
    m_toPage = m_range.PrintTo;
    // Either option leaves the whole range in the boxes; "すべて" says so.
    m_option1->setChecked(true);
    // Showing the accepted value is a change only when the text differs from it.
    m_text1->setText(QString::number(m_fromPage));
    m_text2->setText(QString::number(m_toPage));
    m_option1->setFocus();
}

void PriForm::Option1_Click()
{
    m_text1->setText(QString::number(m_range.PrintFrom));
    m_text2->setText(QString::number(m_range.PrintTo));
}

void PriForm::Option2_Click()
{
    // After the option has taken the focus itself: an arrow key moves the focus onto the option it
    // clicks, after the click, which would leave the option focused beside a box that looks it.
    QTimer::singleShot(0, m_text1, [this] { m_text1->setFocus(); });
}

void PriForm::Text1_Change()
{
    const std::optional<int16_t> v = PageNumberOf(m_text1->text());
    if (v && m_range.PrintFrom <= *v && *v <= m_range.PrintTo) m_fromPage = *v;
}

void PriForm::Text2_Change()
{
    const std::optional<int16_t> v = PageNumberOf(m_text2->text());
    if (!v || *v < m_fromPage || *v > m_range.PrintTo)
        m_toPage = m_range.PrintTo;
    else
        m_toPage = *v;
}

void PriForm::Text1_KeyPress()
{
    // Showing the accepted value is a change only when the text differs from it.
    m_text1->setText(QString::number(m_fromPage));
    m_text2->setFocus();
}

void PriForm::Text2_KeyPress()
{
    m_text2->setText(QString::number(m_toPage));
    // A move by the keyboard: OK shows its focus mark, whatever moved the focus before.
    setAttribute(Qt::WA_KeyboardFocusChange);
    m_command1->setFocus();
}

void PriForm::Command1_Click()
{
    m_pl.setDocName(kPrintDocName);
    const int from = m_fromPage;
    const int to = m_toPage;
    accept();
    if (m_print) m_print(from, to);
}

void PriForm::Command2_Click()
{
    reject();
}

bool PriForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_text1 || watched == m_text2) {
        if (IsEnter(event)) {
            watched == m_text1 ? Text1_KeyPress() : Text2_KeyPress();
            return true;  // not on to the dialog's default button
        }
        if (event->type() == QEvent::FocusIn) {
            // After the click that gave the focus has placed the cursor.
            auto* box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, box, [box] { box->selectAll(); });
        }
    } else if (event->type() == QEvent::MouseButtonRelease) {
        QRadioButton* option = watched == m_option1Label ? m_option1 : m_option2;
        option->click();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace tovanel

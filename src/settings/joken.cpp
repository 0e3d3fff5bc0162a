// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/joken.h"

#include "calc/settings.h"
#include "widgets/buttonkeys.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "calc/twips.h"

#include <QCheckBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

namespace tovanel {

namespace {

/// The entries of the boxes JO1(0..4), then JO1(5..7).
constexpr std::array kNumberBoxes = {NumberEntry::CoordDigits, NumberEntry::RegisterDigits, NumberEntry::LimitM,
                                     NumberEntry::LimitLP, NumberEntry::LimitL1};
constexpr std::array kPrefixBoxes = {TextEntry::CentrePrefix, TextEntry::InnerPrefix, TextEntry::OuterPrefix};

/// Labels and boxes of the dialog.
QFont DialogFont()
{
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPointSizeF(11.25);
    return f;
}

}  // namespace

Joken::Joken(Settings& s, MessageFn message, QWidget* parent)
    : QDialog(parent), m_s(s), m_message(message ? std::move(message) : MessageFn(ShowMessageBox))
{
    setObjectName(QStringLiteral("Joken"));
    setWindowTitle(QStringLiteral("条件設定"));
    setFixedSize(TwipsSize(9000, 5145));
    setSizeGripEnabled(false);

    m_tab = new QTabWidget(this);
    m_tab->setObjectName(QStringLiteral("SSTab1"));
    m_tab->setGeometry(TwipsRect(120, 120, 8775, 4455));
    m_tab->tabBar()->setFocusPolicy(Qt::NoFocus);
    m_page = new QWidget;
    m_tab->addTab(m_page, QStringLiteral("条 件"));

    const QFont font = DialogFont();
    auto label = [&](const char* name, const char* text, QRect twips) {
        auto* l = new QLabel(QString::fromUtf8(text), m_page);
        l->setObjectName(QString::fromUtf8(name));
        l->setFont(font);
        m_pageControls.emplace_back(l, twips);
    };
    auto box = [&](int i, QRect twips, bool centred) {
        auto* e = new QLineEdit(m_page);
        e->setObjectName(QStringLiteral("JO1_%1").arg(i));
        e->setFont(font);
        if (centred)
            e->setAlignment(Qt::AlignCenter);
        m_jo1[static_cast<size_t>(i)] = e;
        m_pageControls.emplace_back(e, twips);
    };
    // The limits' boxes reach to the right column: a limit of 1000000 shows as 1000000.000 whole.
    label("Label7", "座標計算桁数", {450, 700, 1455, 255});
    box(0, {2200, 650, 345, 345}, true);
    label("Label1", "座標登録桁数", {450, 1200, 1470, 285});
    box(1, {2200, 1150, 345, 345}, true);
    label("Label2", "制限中央縦距", {450, 1700, 1470, 300});
    box(2, {2200, 1650, 1700, 345}, true);
    label("Label3", "制限　ＬＰ", {450, 2200, 1455, 285});
    box(3, {2200, 2150, 1700, 345}, true);
    label("Label4", "制限　Ｌ１", {450, 2700, 1665, 255});
    box(4, {2220, 2650, 1680, 345}, true);
    label("Label5", "中心点名", {4000, 700, 1050, 285});
    box(5, {5300, 650, 1000, 345}, false);
    label("Label6", "内周点名", {4000, 1200, 1155, 300});
    box(6, {5300, 1150, 1000, 345}, false);
    label("Label8", "外周点名", {4000, 1700, 1245, 285});
    box(7, {5300, 1650, 1000, 345}, false);

    m_frame = new QGroupBox(QStringLiteral("Halvorn種別"), m_page);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    m_frame->setFont(font);
    m_pageControls.emplace_back(m_frame, QRect(480, 3360, 1815, 855));
    m_option1 = new QRadioButton(QStringLiteral("DentaⅡ"), m_frame);
    m_option1->setObjectName(QStringLiteral("Option1"));
    m_option2 = new QRadioButton(QStringLiteral("Stravon"), m_frame);
    m_option2->setObjectName(QStringLiteral("Option2"));

    m_exactAzimuth = new QCheckBox(QStringLiteral("方向角を厳密に計算する"), m_page);
    m_exactAzimuth->setObjectName(QStringLiteral("ExactAzimuth"));
    m_exactAzimuth->setFont(font);
    m_exactAzimuth->setToolTip(QStringLiteral(
        "南北・東西に走る線の方向角を誤差なく計算します。\n"
        "オフ（既定）では従来どおり、軸に沿う線の方向角に約2秒の差が出ます。"));
    m_pageControls.emplace_back(m_exactAzimuth, QRect(4000, 2200, 4300, 300));

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("Command1"));
    m_ok->setGeometry(TwipsRect(6600, 4680, 975, 375));
    m_cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_cancel->setObjectName(QStringLiteral("Command2"));
    m_cancel->setGeometry(TwipsRect(7800, 4680, 975, 375));
    // Enter in a box stores nothing by itself: neither button is a default button. Enter on a
    // button presses it, as in the main window, and the focus mark shows from the start.
    EnterPressesFocusedButton(this);
    connect(m_ok, &QPushButton::clicked, this, &Joken::Command1_Click);
    connect(m_cancel, &QPushButton::clicked, this, &Joken::Command2_Click);

    // Tab order by the design's tab indices (OK and cancel come right after the first box).
    const QList<QWidget*> order = {m_jo1[0], m_ok, m_cancel, m_jo1[1], m_jo1[2], m_jo1[3], m_jo1[4],
                                   m_jo1[5], m_jo1[6], m_jo1[7], m_option1, m_option2,
                                   m_exactAzimuth};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);

    // Positions on the page are designed relative to the tab control, whose page area starts
    // below the tab bar wherever the style puts it: placed again whenever the page moves.
    m_page->installEventFilter(this);
    placePageControls();

    Form_Load();
    m_jo1[0]->setFocus();
}

bool Joken::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_page && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        placePageControls();
    return QDialog::eventFilter(watched, event);
}

void Joken::placePageControls()
{
    const QPoint offset = m_page->mapTo(m_tab, QPoint(0, 0));
    for (const auto& [w, t] : m_pageControls)
        w->setGeometry(TwipsRect(t.x(), t.y(), t.width(), t.height()).translated(-offset));
    // The options stand 240 twips apart from the top of the frame's inside, which begins below
    // its caption wherever the style draws it (at the frame's own top they would cross its
    // border); each is as high as that step, so that neither covers the other.
    const int inside = m_frame->contentsRect().top();
    m_option1->setGeometry(TwipsRect(120, 0, 1455, 240).translated(0, inside));
    m_option2->setGeometry(TwipsRect(120, 240, 1455, 240).translated(0, inside));
}

void Joken::Form_Load()
{
    for (size_t i = 0; i < kNumberBoxes.size(); ++i) {
        // The limits in "0.000"; the digit counts as they are.
        const NumberEntry e = kNumberBoxes[i];
        const double v = m_s.number(e);
        const bool limit = e != NumberEntry::CoordDigits && e != NumberEntry::RegisterDigits;
        m_jo1[i]->setText(limit ? FixedText(v, 3) : NumberText(v));
        m_jo1[i]->setCursorPosition(0);  // a value wider than its box shows its leading digits
    }
    for (size_t i = 0; i < kPrefixBoxes.size(); ++i)
        m_jo1[kNumberBoxes.size() + i]->setText(m_s.text(kPrefixBoxes[i]));
    if (m_s.nameInFirstField())
        m_option1->setChecked(true);
    else
        m_option2->setChecked(true);
    m_exactAzimuth->setChecked(m_s.exactAzimuths());
}

void Joken::Command1_Click()
{
    // A pasted spreadsheet cell brings its TAB or line end along: in a point name it would add a
    // line to the settings file and a field to every exported point. Taken out of the box, and the
    // user confirms what is left before anything is stored.
    for (int i = 5; i <= 7; ++i) {
        QLineEdit* box = m_jo1[static_cast<size_t>(i)];
        if (!HasFieldBreak(box->text())) continue;
        for (int k = i; k <= 7; ++k) {
            QLineEdit* b = m_jo1[static_cast<size_t>(k)];
            b->setText(WithoutFieldBreaks(b->text()));
        }
        box->setFocus();
        m_message(this, QMessageBox::Warning, QStringLiteral("確認"), kFieldBreakMessage);
        return;
    }
    // The boxes are stored before the check: a refused OK has already changed them in memory.
    for (size_t i = 0; i < kNumberBoxes.size(); ++i)
        m_s.setNumber(kNumberBoxes[i], LeadingNumber(m_jo1[i]->text()));
    for (size_t i = 0; i < kPrefixBoxes.size(); ++i)
        m_s.setText(kPrefixBoxes[i], m_jo1[kNumberBoxes.size() + i]->text());
    // A limit below zero would make the division count search endless just as zero would.
    if (m_s.limits().M > 0 && m_s.limits().LP > 0) {
        m_s.setText(TextEntry::CadEdition, m_option1->isChecked() ? QStringLiteral("1") : QStringLiteral("2"));
        // Another use of the free line is kept unless the option is turned on.
        if (m_exactAzimuth->isChecked())
            m_s.setText(TextEntry::ExactAzimuth, QStringLiteral("1"));
        else if (m_s.exactAzimuths())
            m_s.setText(TextEntry::ExactAzimuth, QString());
        close();
        return;
    }
    m_message(this, QMessageBox::Warning, QStringLiteral("確認"), kZeroLimitMessage);
}

void Joken::Command2_Click()
{
    close();
}

}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/monitfm.h"

#include "app/annai.h"
#include "exchange/clipimport.h"
#include "calc/numeric.h"
#include "calc/settingsfile.h"
#include "calc/twips.h"
#include "help/version.h"
#include "print/printersetup.h"
#include "settings/joken.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <cmath>
#include <limits>

namespace tovanel {

namespace {

/// Client area of the window, in twips; the status bar lies inside it along the bottom edge.
constexpr double kClientWidth = 3840;
constexpr double kClientHeight = 7860;

/// The boxes take text of any length (a line edit cuts at 32767 characters unless told).
constexpr int kNoLengthLimit = std::numeric_limits<int>::max();

/// Background of a DTText box with and without the focus.
const QColor kFocusGrey(192, 192, 192);
const QColor kWhite(255, 255, 255);

QFont BoxFont()
{
    QFont f(QStringLiteral("ＭＳ Ｐゴシック"));
    f.setPointSizeF(9.75);
    return f;
}

void SetBase(QWidget* w, const QColor& c)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Base, c);
    w->setPalette(pal);
}

/// The list position written in the settings file, or −1 when it names none.
int StoredListPosition(const QString& text, int count)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return -1;
    const double r = std::nearbyint(v);  // halves to even
    return r >= 0 && r < count ? static_cast<int>(r) : -1;
}

}  // namespace

MonitFM::MonitFM(QPrinter& printer, Setup setup, QWidget* parent)
    : QMainWindow(parent),
      m_printer(printer),
      m_message(setup.message ? std::move(setup.message) : MessageFn(ShowMessageBox)),
      m_quit(setup.quit ? std::move(setup.quit) : [] { QCoreApplication::exit(0); })
{
    setObjectName(QStringLiteral("MonitFM"));
    m_openPreview = [this] {
        m_message(this, QMessageBox::Information, QStringLiteral("帳票印刷"),
                  QStringLiteral("計算書の印刷プレビューはまだ利用できません。"));
    };
    buildControls();
    buildMenus();
    m_appDir = setup.appDir;
    m_settingsPath = setup.settingsPath;
    Form_Load();
    // A session that ends the event loop without closing the window still saves the settings.
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
        if (!m_ended) {
            m_ended = true;
            P_end();
        }
    });
}

MonitFM::~MonitFM()
{
    // The corner table window reads this window's settings and boxes: it goes while they are here.
    delete findChild<QObject*>(QStringLiteral("CornerTableHolder"), Qt::FindDirectChildrenOnly);
    delete m_annai.data();
    delete m_joken.data();
    delete m_preview.data();
}

void MonitFM::buildControls()
{
    auto* central = new QWidget(this);
    setCentralWidget(central);
    m_stb1 = new QStatusBar(this);
    m_stb1->setObjectName(QStringLiteral("Stb1"));
    m_stb1->setSizeGripEnabled(false);
    setStatusBar(m_stb1);
    // Fixed border: the window keeps the size of its design.
    central->setFixedSize(Px(kClientWidth), Px(kClientHeight) - m_stb1->sizeHint().height());
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);

    const QFont font = BoxFont();
    auto label = [&](const char* name, const char* text, double l, double t, double w, double h,
                     bool right = false) {
        auto* lb = new QLabel(QString::fromUtf8(text), central);
        lb->setObjectName(QString::fromUtf8(name));
        lb->setFont(font);
        lb->setGeometry(TwipsRect(l, t, w, h));
        if (right)
            lb->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    };
    auto dt = [&](int i, double l, double t, double w, double h) {
        auto* e = new QLineEdit(central);
        e->setMaxLength(kNoLengthLimit);
        e->setObjectName(QStringLiteral("DTText_%1").arg(i));
        e->setFont(font);
        e->setGeometry(TwipsRect(l, t, w, h));
        SetBase(e, kWhite);
        e->installEventFilter(this);
        m_dtText[static_cast<size_t>(i)] = e;
    };
    auto coord = [&](std::array<QLineEdit*, 3>& boxes, const char* name, int i, double l, double t,
                     double w, double h) {
        auto* e = new QLineEdit(central);
        e->setMaxLength(kNoLengthLimit);
        e->setObjectName(QStringLiteral("%1_%2").arg(QString::fromUtf8(name)).arg(i));
        e->setFont(font);
        e->setGeometry(TwipsRect(l, t, w, h));
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        e->setFocusPolicy(Qt::ClickFocus);  // not a tab stop, still clickable and editable
        SetBase(e, e->palette().color(QPalette::Button));
        boxes[static_cast<size_t>(i)] = e;
    };

    m_command1 = new QPushButton(QStringLiteral("座標セット"), central);
    m_command1->setObjectName(QStringLiteral("Command1"));
    m_command1->setGeometry(TwipsRect(240, 120, 1215, 375));
    connect(m_command1, &QPushButton::clicked, this, &MonitFM::Command1_Click);

    auto* line1 = new QFrame(central);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setFrameShape(QFrame::HLine);
    line1->setFrameShadow(QFrame::Sunken);
    line1->setGeometry(0, Px(480) - 1, Px(3240), 2);
    line1->lower();  // the rule lies under the controls it crosses

    label("Label1", "計算種別", 375, 570, 900, 225);
    m_combo1 = new QComboBox(central);
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo1->setEditable(true);
    m_combo1->setInsertPolicy(QComboBox::NoInsert);
    m_combo1->setCompleter(nullptr);
    m_combo1->addItems({QStringLiteral("平行"), QStringLiteral("千鳥"), QStringLiteral("外接"),
                        QStringLiteral("等曲率半径")});
    m_combo1->setGeometry(TwipsRect(1620, 540, 1500, 300));
    m_combo1->installEventFilter(this);

    label("Label2", "Ｉ Ｐ 番 号", 375, 975, 885, 225);
    dt(0, 1620, 930, 1500, 300);
    // The IP number becomes part of every exported point name: a pasted TAB or line end would
    // move the CAD's columns or split a line, so it is taken out as soon as it arrives.
    connect(m_dtText[0], &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!HasFieldBreak(text)) return;
        m_dtText[0]->setText(WithoutFieldBreaks(text));
        m_message(this, QMessageBox::Warning, QStringLiteral("確認"),
                  QStringLiteral("IP番号に含まれていたタブ・改行を取り除きました。"));
    });
    label("Label3", "ＢＰ測点名", 375, 1365, 945, 225);
    dt(1, 1620, 1320, 1500, 300);
    label("Label9", "X=", 375, 1770, 600, 225, true);
    coord(m_xText, "XText", 0, 1125, 1740, 2000, 300);
    label("Label10", "Y=", 375, 2175, 600, 225, true);
    coord(m_yText, "YText", 0, 1125, 2160, 2000, 300);
    label("Label4", "ＩＰ測点名", 375, 2565, 915, 225);
    dt(2, 1620, 2535, 1500, 300);
    label("Label11", "X=", 375, 2970, 600, 225, true);
    coord(m_xText, "XText", 1, 1125, 2940, 2000, 300);
    label("Label12", "Y=", 375, 3375, 600, 225, true);
    coord(m_yText, "YText", 1, 1125, 3330, 2000, 300);
    label("Label5", "半　径", 375, 3765, 795, 225);
    dt(4, 1620, 3720, 1500, 300);
    label("Label6", "内幅員", 375, 4170, 720, 225);
    dt(5, 1620, 4155, 1500, 300);
    label("Label7", "外幅員", 375, 4575, 675, 225);
    dt(6, 1620, 4560, 1500, 300);
    label("Label8", "ＥＰ測点名", 375, 4965, 1005, 225);
    dt(3, 1620, 4965, 1500, 300);
    label("Label13", "X=", 375, 5370, 600, 225, true);
    coord(m_xText, "XText", 2, 1125, 5340, 2000, 300);
    label("Label14", "Y=", 375, 5775, 600, 225, true);
    coord(m_yText, "YText", 2, 1125, 5760, 2000, 300);
    label("Label15", "分割数", 600, 6360, 675, 255);
    m_txt1 = new QLineEdit(central);
    m_txt1->setMaxLength(kNoLengthLimit);
    m_txt1->setObjectName(QStringLiteral("TXT1"));
    m_txt1->setFont(font);
    m_txt1->setAlignment(Qt::AlignCenter);
    m_txt1->setGeometry(TwipsRect(1620, 6360, 660, 300));

    m_cmd1 = new QPushButton(QStringLiteral("分割数試算"), central);
    m_cmd1->setObjectName(QStringLiteral("CMD1"));
    m_cmd1->setFont(font);
    m_cmd1->setGeometry(TwipsRect(1080, 7080, 1155, 390));
    connect(m_cmd1, &QPushButton::clicked, this, &MonitFM::CMD1_Click);
    // Enter presses the focused button, as Space does: the Enter path ends on CMD1.
    m_command1->setAutoDefault(true);
    m_cmd1->setAutoDefault(true);
    setAttribute(Qt::WA_KeyboardFocusChange);  // the focus mark shows from the start

    // Tab order by the design's tab indices; the coordinate boxes are no tab stops.
    const QList<QWidget*> order = {m_command1,  m_txt1,      m_dtText[3], m_cmd1,
                                   m_dtText[6], m_dtText[5], m_dtText[4], m_dtText[2],
                                   m_dtText[1], m_dtText[0], m_combo1};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    m_command1->setFocus();
}

void MonitFM::buildMenus()
{
    struct Item {
        int index;
        const char* caption;  // "-" is a separator
    };
    struct MenuDef {
        Menu id;
        const char* name;
        const char* caption;
        std::vector<Item> items;
        void (MonitFM::*handler)(int);
    };
    const MenuDef menus[] = {
        {MENUFILE, "MENUFILE", "ファイル",
         {{1, "新規作成(&N)"}, {2, "-"}, {5, "プリンタの設定(&U)"}, {6, "-"}, {7, "終了(&X)"}},
         &MonitFM::MENUFILE1_Click},
        {MENUPRINT, "MENUPRINT", "帳票印刷", {{1, "Tovanel計算書"}}, &MonitFM::MENUPRINT1_Click},
        {MENUJOKEN, "MENUJOKEN", "設定(&S)", {{1, "条件設定"}}, &MonitFM::MENUJOKEN1_Click},
        {MENUHELP, "MENUHELP", "ヘルプ(&H)", {{1, "案内図"}, {2, "バージョン情報(&A)"}},
         &MonitFM::MENUHELP1_Click},
    };
    for (const auto& m : menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(m.caption));
        menu->setObjectName(QString::fromUtf8(m.name));
        for (const auto& it : m.items) {
            QAction* a = nullptr;
            if (QString::fromUtf8(it.caption) == QLatin1String("-")) {
                a = menu->addSeparator();
            } else {
                a = menu->addAction(QString::fromUtf8(it.caption));
                const int index = it.index;
                const auto handler = m.handler;
                connect(a, &QAction::triggered, this, [this, handler, index] { (this->*handler)(index); });
            }
            a->setObjectName(QStringLiteral("%11_%2").arg(QString::fromUtf8(m.name)).arg(it.index));
            m_items[static_cast<size_t>(m.id)][static_cast<size_t>(it.index)] = a;
        }
    }
}

QAction* MonitFM::menuItem(Menu menu, int index) const
{
    if (index < 0 || index >= 8)
        return nullptr;
    return m_items[static_cast<size_t>(menu)][static_cast<size_t>(index)];
}

QAction* MonitFM::addFileCommand(const QString& caption, const QString& name, const QString& after)
{
    QMenu* file = findChild<QMenu*>(QStringLiteral("MENUFILE"));
    QAction* before = menuItem(MENUFILE, 5);
    const QList<QAction*> actions = file->actions();
    for (qsizetype i = 0; i + 1 < actions.size(); ++i)
        if (actions[i]->objectName() == after) before = actions[i + 1];
    auto* action = new QAction(caption, file);
    action->setObjectName(name);
    file->insertAction(before, action);
    return action;
}

void MonitFM::Form_Load()
{
    clearTrial();
    if (m_settingsPath.isEmpty())
        m_settingsPath = SettingsPath(m_appDir);
    m_notices = ReadSettings(m_settingsPath, m_settings);
    setWindowTitle(QStringLiteral("Tovanel計算"));
    Mn_New();
    {
        const int pos = StoredListPosition(m_settings.rememberedType(), m_combo1->count());
        m_combo1->setCurrentIndex(pos);
        if (pos < 0)
            m_combo1->setEditText(QString());
    }
    QGuiApplication::clipboard()->clear();
}

void MonitFM::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_noticesShown)
        return;
    m_noticesShown = true;
    if (m_notices.isEmpty())
        return;
    // After the window has appeared, so that the message has a window to stand on.
    QTimer::singleShot(0, this, [this] {
        m_message(this, QMessageBox::Warning, QStringLiteral("設定ファイル"),
                  m_notices.join(QLatin1Char('\n')));
    });
}

void MonitFM::Mn_New()
{
    for (QLineEdit* e : m_dtText)
        e->clear();
    for (int i = 0; i < 3; ++i) {
        m_xText[static_cast<size_t>(i)]->clear();
        m_yText[static_cast<size_t>(i)]->clear();
    }
    m_txt1->clear();
    clearTrial();
}

Corner MonitFM::corner() const
{
    Corner c = m_corner;
    c.in.IPNo = m_dtText[0]->text();
    return c;
}

int MonitFM::listPosition() const
{
    const int i = m_combo1->currentIndex();
    // Typed text that is not the selected entry leaves no list position.
    return i >= 0 && m_combo1->currentText() == m_combo1->itemText(i) ? i : -1;
}

void MonitFM::closeAnnai()
{
    if (m_annai) {
        m_annai->close();  // deletes itself
        delete m_annai.data();
    }
}

void MonitFM::P_end()
{
    closeAnnai();
    m_settings.setText(TextEntry::RememberedType, QString::number(listPosition()));
    if (const QString why = WriteSettings(m_settingsPath, m_settings); !why.isEmpty())
        m_message(this, QMessageBox::Critical, QStringLiteral("設定ファイル"), why);
}

void MonitFM::closeEvent(QCloseEvent* event)
{
    if (!m_ended) {
        m_ended = true;
        P_end();
    }
    event->accept();
}

void MonitFM::GatherInputs()
{
    const double count = m_corner.in.DivCount;  // the trial command sets it
    m_corner.in = boxInputs();
    m_corner.in.DivCount = count;
}

CornerInput MonitFM::boxInputs() const
{
    CornerInput in;
    const auto number = [](const QLineEdit* box) { return LeadingNumber(box->text()); };
    in.BpX = number(m_xText[0]);
    in.BpY = number(m_yText[0]);
    in.IpX = number(m_xText[1]);
    in.IpY = number(m_yText[1]);
    in.EpX = number(m_xText[2]);
    in.EpY = number(m_yText[2]);
    in.WidthIn = number(m_dtText[5]);
    in.WidthOut = number(m_dtText[6]);
    in.Radius = number(m_dtText[4]);
    in.DivCount = number(m_txt1);
    // The IP number as it stands now; the sheets read the box again when they are made.
    in.IPNo = m_dtText[0]->text();
    in.BpName = m_dtText[1]->text();
    in.IpName = m_dtText[2]->text();
    in.EpName = m_dtText[3]->text();
    in.CalcType = static_cast<int16_t>(listPosition());
    return in;
}

void MonitFM::setBoxes(const CornerInput& in)
{
    closeAnnai();
    const auto text = [](double v) { return std::isfinite(v) ? ShortestNumberText(v) : QString(); };
    m_xText[0]->setText(text(in.BpX));
    m_yText[0]->setText(text(in.BpY));
    m_xText[1]->setText(text(in.IpX));
    m_yText[1]->setText(text(in.IpY));
    m_xText[2]->setText(text(in.EpX));
    m_yText[2]->setText(text(in.EpY));
    m_dtText[4]->setText(text(in.Radius));
    m_dtText[5]->setText(text(in.WidthIn));
    m_dtText[6]->setText(text(in.WidthOut));
    m_dtText[0]->setText(in.IPNo);
    m_dtText[1]->setText(in.BpName);
    m_dtText[2]->setText(in.IpName);
    m_dtText[3]->setText(in.EpName);
    m_txt1->setText(in.DivCount != 0 ? text(in.DivCount) : QString());
    m_combo1->setCurrentIndex(in.CalcType >= 0 && in.CalcType < m_combo1->count() ? in.CalcType : -1);
    if (m_combo1->currentIndex() < 0) m_combo1->setEditText(QString());
    clearTrial();
}

bool MonitFM::eventFilter(QObject* watched, QEvent* event)
{
    const auto it = std::find(m_dtText.begin(), m_dtText.end(), watched);
    if (it != m_dtText.end()) {
        QLineEdit* box = *it;
        switch (event->type()) {
        case QEvent::FocusIn:
            SetBase(box, kFocusGrey);
            m_fieldIdx = static_cast<int16_t>(it - m_dtText.begin());
            break;
        case QEvent::FocusOut:
            SetBase(box, kWhite);
            break;
        case QEvent::KeyPress:
            navigate(static_cast<QKeyEvent*>(event)->key());
            break;  // the key still reaches the box
        default:
            break;
        }
    } else if (watched == m_combo1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            m_dtText[0]->setFocus(Qt::OtherFocusReason);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MonitFM::navigate(int key)
{
    // FieldIdx, not the box that got the key, decides where the focus goes.
    int idx = m_fieldIdx;
    switch (key) {
    case Qt::Key_Up:
        idx -= 1;
        if (idx < 0) {
            m_fieldIdx = -1;
            m_combo1->setFocus(Qt::OtherFocusReason);
            return;
        }
        break;
    case Qt::Key_Down:
        idx = std::min(idx + 1, 6);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        idx += 1;
        if (idx > 6) {
            m_fieldIdx = 7;
            m_cmd1->setFocus(Qt::OtherFocusReason);
            return;
        }
        break;
    default:
        return;
    }
    idx = std::max(idx, 0);
    m_fieldIdx = static_cast<int16_t>(idx);
    m_dtText[static_cast<size_t>(idx)]->setFocus(Qt::OtherFocusReason);
}

void MonitFM::Command1_Click()
{
    try {
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        if (!data || !data->hasText()) {
            m_message(this, QMessageBox::Critical, kNoDataTitle, kNoClipboardText);
            return;
        }
        std::array<ImportedPoint, 3> points;
        if (const QString why = ImportPoints(m_settings.nameInFirstField(), data->text(), points); !why.isEmpty()) {
            m_message(this, QMessageBox::Critical, kNoDataTitle, why);
            return;
        }
        for (int n = 0; n < 3; ++n) {
            const auto& p = points[static_cast<size_t>(n)];
            m_dtText[static_cast<size_t>(n + 1)]->setText(p.name);
            m_xText[static_cast<size_t>(n)]->setText(p.x);
            m_yText[static_cast<size_t>(n)]->setText(p.y);
        }
    } catch (...) {
        // A clipboard failure ends the command quietly; boxes already filled keep their text.
    }
}

void MonitFM::openAnnai()
{
    auto* w = new ANNAI(m_showMode, m_corner, m_settings, m_message, this);
    m_annai = w;
    if (const QString why = w->Form_Load(); !why.isEmpty()) {
        delete w;
        // A refused count fixes nothing: the print command waits for a trial that succeeds.
        clearTrial();
        m_message(this, QMessageBox::Warning, QStringLiteral("確認"), why);
        return;
    }
    w->show();
}

void MonitFM::CMD1_Click()
{
    closeAnnai();
    m_corner.in.DivCount = LeadingNumber(m_txt1->text());
    m_showMode = ShowMode::Trial;
    GatherInputs();
    openAnnai();
    if (m_annai)
        m_txt1->setText(SignedNumberText(m_corner.el.DivCount));
}

void MonitFM::MENUFILE1_Click(int index)
{
    try {
        switch (index) {
        case 1:
            Mn_New();
            break;
        case 5: {
            PrinterSetup dialog(m_printer, QPrinterInfo::availablePrinterNames(), this);
            if (dialog.exec() == QDialog::Accepted) dialog.applyTo(m_printer);
            break;
        }
        case 7:
            m_ended = true;
            P_end();
            m_quit();
            break;
        default:
            break;
        }
    } catch (...) {
        // The File menu ends quietly on any failure.
    }
}

void MonitFM::MENUPRINT1_Click(int index)
{
    m_printMenuIdx = index;
    OpenPreview();
}

void MonitFM::OpenPreview()
{
    if (m_corner.el.DivCount == 0) {
        m_message(this, QMessageBox::Warning, QStringLiteral("確認"), kNoDivCountMessage);
        return;
    }
    if (m_corner.in.CalcType < 0 || m_corner.in.CalcType > 3) {
        m_message(this, QMessageBox::Warning, QStringLiteral("確認"),
                  NoTypeMessage(listPosition() >= 0, QStringLiteral("印刷")));
        return;
    }
    m_openPreview();
}

void MonitFM::MENUJOKEN1_Click(int index)
{
    if (index != 1)
        return;
    if (m_joken) {
        // Already open: brought forward as it is, not loaded again.
        m_joken->raise();
        m_joken->activateWindow();
        return;
    }
    auto* dialog = new Joken(m_settings, m_message);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // The dialog outlives a closed main window; what is stored after the settings were written
    // at that close is written once more when the dialog goes, so no change is lost.
    connect(dialog, &QDialog::finished, this, [this] {
        if (m_ended) P_end();
    });
    m_joken = dialog;
    dialog->show();
}

void MonitFM::MENUHELP1_Click(int index)
{
    try {
        if (index == 1) {
            closeAnnai();
            m_showMode = ShowMode::Guide;
            openAnnai();
        } else if (index == 2) {
            m_message(this, QMessageBox::Information, kVersionBoxTitle, AppVersionText());
        }
    } catch (...) {
        // Help commands end quietly on any failure.
    }
}

}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
#include "district/pointpicker.h"

#include "widgets/waitcursor.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace tovanel {

namespace {

enum Column { kNumberColumn, kNameColumn, kXColumn, kYColumn, kColumnCount };

const char16_t* const kPointNames[3] = {u"BP", u"IP", u"EP"};

}  // namespace

PointListModel::PointListModel(const std::vector<FilePoint>& points, QObject* parent)
    : QAbstractTableModel(parent), m_points(points)
{
    setFilter({});
}

int PointListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int PointListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant PointListModel::data(const QModelIndex& index, int role) const
{
    const FilePoint* p = point(index.row());
    if (!p) return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(index.column() >= kXColumn ? Qt::AlignRight | Qt::AlignVCenter
                                                              : Qt::AlignLeft | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
    case kNumberColumn: return p->number;
    case kNameColumn: return p->name;
    case kXColumn: return p->xText;
    case kYColumn: return p->yText;
    default: return {};
    }
}

QVariant PointListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    const char16_t* const titles[kColumnCount] = {u"点番号", u"点名", u"X", u"Y"};
    return section >= 0 && section < kColumnCount ? QString::fromUtf16(titles[section]) : QVariant();
}

void PointListModel::setFilter(const QString& text)
{
    beginResetModel();
    m_rows.clear();
    const QString t = PointSearchKey(text.trimmed());
    // The names' keys are made once per list, not once per letter typed.
    if (m_keys.size() != m_points.size()) {
        m_keys.clear();
        for (const FilePoint& p : m_points) m_keys.push_back({PointSearchKey(p.name), PointSearchKey(p.number)});
    }
    for (size_t i = 0; i < m_points.size(); ++i) {
        if (t.isEmpty() || m_keys[i].first.contains(t) || m_keys[i].second.contains(t))
            m_rows.push_back(static_cast<int>(i));
    }
    endResetModel();
}

const FilePoint* PointListModel::point(int row) const
{
    if (row < 0 || row >= static_cast<int>(m_rows.size())) return nullptr;
    return &m_points[static_cast<size_t>(m_rows[static_cast<size_t>(row)])];
}

PointPicker::PointPicker(std::vector<FilePoint> points, const QString& fileName, QWidget* parent)
    : QDialog(parent), m_points(std::move(points))
{
    setObjectName(QStringLiteral("PointPicker"));
    setWindowTitle(QStringLiteral("座標読込 - ") + QDir::toNativeSeparators(fileName));
    m_model = new PointListModel(m_points, this);

    auto* layout = new QVBoxLayout(this);
    auto* searchRow = new QHBoxLayout;
    auto* searchLabel = new QLabel(QStringLiteral("検索(&F):"), this);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("Search"));
    m_search->setPlaceholderText(QStringLiteral("点名または点番号の一部"));
    m_search->setClearButtonEnabled(true);
    m_search->installEventFilter(this);
    searchLabel->setBuddy(m_search);
    searchRow->addWidget(searchLabel);
    searchRow->addWidget(m_search, 1);
    layout->addLayout(searchRow);

    m_list = new QTableView(this);
    m_list->setObjectName(QStringLiteral("PointList"));
    m_list->setModel(m_model);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setTabKeyNavigation(false);
    m_list->setWordWrap(false);
    // Fixed row heights and column widths: a list of 100 000 points is never measured row by row.
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(m_list->fontMetrics().height() + 6);
    m_list->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_list->horizontalHeader()->setStretchLastSection(true);
    const int digit = m_list->fontMetrics().horizontalAdvance(QLatin1Char('0'));
    m_list->setColumnWidth(kNumberColumn, digit * 8);
    m_list->setColumnWidth(kNameColumn, digit * 18);
    m_list->setColumnWidth(kXColumn, digit * 16);
    m_list->installEventFilter(this);
    connect(m_list, &QAbstractItemView::doubleClicked, this, [this] {
        for (int w = BP; w <= EP; ++w)
            if (m_picked[static_cast<size_t>(w)] < 0) return pick(static_cast<Which>(w));
    });
    layout->addWidget(m_list, 1);

    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("Count"));
    layout->addWidget(m_count);

    auto* picks = new QGridLayout;
    for (int w = BP; w <= EP; ++w) {
        const QString name = QString::fromUtf16(kPointNames[w]);
        auto* button = new QPushButton(name + QStringLiteral(" に設定(&") + name.front() + QLatin1Char(')'), this);
        button->setObjectName(QStringLiteral("Pick") + name);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, w] { pick(static_cast<Which>(w)); });
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("Picked") + name);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        picks->addWidget(button, w, 0);
        picks->addWidget(label, w, 1);
        m_pickButtons[static_cast<size_t>(w)] = button;
        m_pickLabels[static_cast<size_t>(w)] = label;
    }
    picks->setColumnStretch(1, 1);
    layout->addLayout(picks);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_ok->setText(QStringLiteral("OK"));
    m_ok->setAutoDefault(false);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
    buttons->button(QDialogButtonBox::Cancel)->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(m_search, &QLineEdit::textChanged, this, &PointPicker::filterChanged);
    filterChanged({});
    showPicks();
    resize(640, 560);
    m_search->setFocus();
}

const FilePoint* PointPicker::picked(Which w) const
{
    const int i = m_picked[static_cast<size_t>(w)];
    return i >= 0 ? &m_points[static_cast<size_t>(i)] : nullptr;
}

void PointPicker::pick(Which w)
{
    const FilePoint* p = m_model->point(m_list->currentIndex().row());
    if (!p) return;
    m_picked[static_cast<size_t>(w)] = static_cast<int>(p - m_points.data());
    showPicks();
}

void PointPicker::showPicks()
{
    for (int w = BP; w <= EP; ++w) {
        const FilePoint* p = picked(static_cast<Which>(w));
        m_pickLabels[static_cast<size_t>(w)]->setText(
            p ? QStringLiteral("%1    X = %2    Y = %3").arg(p->name, p->xText, p->yText)
              : QStringLiteral("（未選択）"));
    }
    m_ok->setEnabled(picked(BP) && picked(IP) && picked(EP));
}

void PointPicker::filterChanged(const QString& text)
{
    m_model->setFilter(text);
    if (m_model->rowCount() > 0) m_list->setCurrentIndex(m_model->index(0, kNameColumn));
    m_count->setText(QStringLiteral("%1 点中 %2 点を表示").arg(m_points.size()).arg(m_model->rowCount()));
}

bool PointPicker::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (watched == m_search && plain) {
        // Enter and the arrows go on to the list, keeping the box's text.
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
        case Qt::Key_Up:
        case Qt::Key_PageDown:
        case Qt::Key_PageUp:
            m_list->setFocus();
            if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter)
                QCoreApplication::sendEvent(m_list, event);
            return true;
        default:
            break;
        }
    } else if (watched == m_list && plain) {
        // In the list, B, I and E pick the current point.
        switch (key->key()) {
        case Qt::Key_B: pick(BP); return true;
        case Qt::Key_I: pick(IP); return true;
        case Qt::Key_E: pick(EP); return true;
        default: break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

std::optional<std::array<FilePoint, 3>> PickCornerPoints(QWidget* parent, QString& folder, const OpenFileFn& open,
                                                         const PreviewHooks& dialogs)
{
    const QString title = QStringLiteral("座標読込");
    const QString path =
        open(parent, title, folder, QStringLiteral("座標ファイル (*.sim *.csv *.txt);;すべてのファイル (*)"));
    if (path.isEmpty()) return std::nullopt;
    folder = QFileInfo(path).absolutePath();
    PointFileRead read;
    {
        const WaitCursor hourglass;
        read = LoadPointFile(path);
    }
    if (!read.ok()) {
        dialogs.message(parent, QMessageBox::Warning, title, PointFileMessage(path, read));
        return std::nullopt;
    }
    PointPicker picker(std::move(read.points), path, parent);
    dialogs.execDialog(picker);
    if (picker.result() != QDialog::Accepted) return std::nullopt;
    const FilePoint* p[3] = {picker.picked(PointPicker::BP), picker.picked(PointPicker::IP), picker.picked(PointPicker::EP)};
    if (!p[0] || !p[1] || !p[2]) return std::nullopt;
    return std::array<FilePoint, 3>{*p[0], *p[1], *p[2]};
}

}  // namespace tovanel

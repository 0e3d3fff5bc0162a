// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window on a settings file of its own in a temporary folder, whose messages are recorded
// instead of shown and whose "終了(X)" is counted instead of ending the program.

#include "app/monitfm.h"
#include "calc/settings.h"
#include "calc/settingsfile.h"

#include "../print/qstringprint.h"
#include "support/files.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace tovanel::test {

inline QString U(const char* s) { return QString::fromUtf8(s); }
constexpr const char* kTurn = "0 0 100 100 0 200";  // BP, IP, EP of a right turn of 90°

struct RecordedWindow {
    QTemporaryDir dir;
    QPrinter printer;
    QStringList said;  ///< "title:text" of every message, in order
    std::vector<QMessageBox::Icon> icons;
    bool overHiddenWindow = false;  ///< a message stood over no shown window
    int quits = 0;
    std::unique_ptr<MonitFM> w;

    QString iniPath() const { return dir.filePath(QStringLiteral("Tovanel.INI")); }

    /// Shows the window on the default settings as changed by `edit`, or on the file at `path`.
    MonitFM& open(const std::function<void(Settings&)>& edit = {}, const QString& path = {})
    {
        Settings settings = DefaultSettings();
        if (edit) edit(settings);
        EXPECT_TRUE(WriteSettings(iniPath(), settings).isEmpty());
        auto record = [this](QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
            said << title + ":" + text, icons.push_back(icon);
            overHiddenWindow |= !parent || !parent->window()->isVisible();
        };
        w = std::make_unique<MonitFM>(printer, MonitFM::Setup{dir.path(), path.isEmpty() ? iniPath() : path, record, [this] { ++quits; }});
        w->show();
        w->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
        return *w;
    }

    /// Types a corner: BP, IP, EP ("x y" each), the radius, both widths and the count.
    void corner(const char* count, const char* radius = "100", const char* xy = kTurn, const char* widths = "")
    {
        const QStringList v = U(xy).split(QLatin1Char(' '));
        for (int i = 0; i < 6; ++i) (i % 2 ? w->YText(i / 2) : w->XText(i / 2))->setText(v[i]);
        for (int i : {4, 5, 6}) w->DTText(i)->setText(U(i == 4 ? radius : widths));
        w->TXT1()->setText(U(count));
    }
};

}  // namespace tovanel::test

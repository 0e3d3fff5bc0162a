// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A main window on a settings file of its own in a temporary folder, whose messages are recorded
// instead of shown.

#include "app/monitfm.h"
#include "calc/calcstate.h"
#include "calc/settingsfile.h"

#include <QPrinter>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace tovanel::test {

struct RecordedWindow {
    QTemporaryDir dir;
    CalcState s;
    QPrinter printer;
    QStringList said;  ///< "title:text" of every message, in order
    std::unique_ptr<MonitFM> w;

    RecordedWindow()
    {
        CalcState defaults;
        DefaultSettings(defaults);
        EXPECT_TRUE(WriteSettings(dir.filePath("Tovanel.INI"), defaults).isEmpty());
        auto record = [this](QWidget*, QMessageBox::Icon, const QString& title, const QString& text) {
            said << title + ":" + text;
        };
        w = std::make_unique<MonitFM>(s, printer, MonitFM::Setup{dir.path(), dir.filePath("Tovanel.INI"), record, [] {}});
    }
};

}  // namespace tovanel::test

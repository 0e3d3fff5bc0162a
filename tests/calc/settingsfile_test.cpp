// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file: reading, writing, round trips and the failures a surveyor can run into.

#include "calc/settings.h"
#include "calc/settingsfile.h"
#include "support/files.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cmath>
#include <unistd.h>

namespace tovanel {
namespace {

using test::ReadAll;
using test::WriteAll;

QByteArray Lines(const QList<QByteArray>& lines)
{
    QByteArray b;
    for (const auto& l : lines) b += l + "\r\n";
    return b;
}

const QList<QByteArray> kFile = {"4", "3", "0.5", "20", "0.01", "1.5", "-2", "0", "0.0000001", "123456.789",
                                 "\"C\"", "\"I\"", "\"O\"", "\"-1\"", "\"1\"",
                                 "\"a b\"", "\"\"", "\"x\"y\"", "\"  \"", "\"z\""};

TEST(SettingsFile, ReadsAndWritesBackUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Tovanel.INI");
    WriteAll(path, Lines(kFile));
    Settings s;
    EXPECT_TRUE(ReadSettings(path, s).isEmpty());
    EXPECT_EQ(s.textLine(8), "x\"y");
    ASSERT_EQ(WriteSettings(path, s), "");
    EXPECT_EQ(ReadAll(path), Lines(kFile));

    // Plain decimals, never an exponent, reading back as the same double.
    const double values[] = {0.1 + 0.2, 1e300, -1e-300, 0.0125, 1.0 / 3, -0.0, 5e-324, 1e17 + 8, 1e6, 1e-7};
    for (int i = 0; i < 10; ++i) s.setNumberLine(i + 1, values[i]);
    ASSERT_EQ(WriteSettings(path, s), "");
    const QList<QByteArray> lines = ReadAll(path).split('\n');
    EXPECT_EQ(lines[0], "0.30000000000000004\r");
    EXPECT_EQ(lines[1], "1" + QByteArray(300, '0') + "\r");
    EXPECT_EQ(lines[5] + lines[8] + lines[9], "-0\r1000000\r0.0000001\r");
    for (const QByteArray& l : lines.mid(0, 10)) EXPECT_FALSE(l.contains('e')) << l.left(40).constData();
    Settings back;
    EXPECT_TRUE(ReadSettings(path, back).isEmpty());
    EXPECT_EQ(back, s) << "every written number reads back the same";
    EXPECT_TRUE(std::signbit(back.numberLine(6)));
}

// Names round-trip through CP932; what cannot is refused naming the line, the previous file kept.
TEST(SettingsFile, NamesInCp932AndRefusedSaves)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Tovanel.INI");
    Settings s = DefaultSettings();
    s.setTextLine(1, QStringLiteral("中心Ⅱ"));
    s.setTextLine(2, QStringLiteral("内〜−"));  // what Linux input methods type for ～ and －
    s.setTextLine(6, QStringLiteral("ｶﾅ\\"));
    ASSERT_EQ(WriteSettings(path, s), "");
    const QByteArray written = ReadAll(path);
    EXPECT_TRUE(written.contains(QByteArray("\"\x92\x86\x90\x53\x87\x55\"\r\n")));  // 中心Ⅱ
    EXPECT_TRUE(written.contains(QByteArray("\"\xb6\xc5\\\"\r\n")));
    Settings back;
    EXPECT_TRUE(ReadSettings(path, back).isEmpty());
    EXPECT_EQ(back.textLine(1) + back.textLine(6), s.textLine(1) + s.textLine(6));

    const struct { int entry; QString value; const char* reason; } refused[] = {
        {3, "𠮷", "13 行目の「𠮷」"}, {7, "a\tb", "17 行目"},
        {6, QString(700000, QChar(0x4E2D)), "バイトを超えます"}};
    for (const auto& r : refused) {
        Settings bad = s;
        bad.setTextLine(r.entry, r.value);
        const QString reason = WriteSettings(path, bad);
        EXPECT_TRUE(reason.contains(QString::fromUtf8(r.reason))) << reason.toStdString();
        EXPECT_TRUE(reason.contains(QDir::toNativeSeparators(path))) << reason.toStdString();
        EXPECT_EQ(ReadAll(path), written);
    }
}

TEST(SettingsFile, DamagedFilesFallBackPerEntry)
{
    auto with = [](int n, const QByteArray& line) {  // line n (from 1) replaced
        QList<QByteArray> lines = kFile;
        lines[n - 1] = line;
        return Lines(lines);
    };
    // limitLP: the LP limit afterwards; type: the remembered type afterwards
    const struct { const char* name; QByteArray bytes; int notices; double limitLP; const char* type; } cases[] = {
        {"short file", Lines(kFile.mid(0, 5)), 1, 20, "0"},
        {"missing file: the defaults", "-", 1, 10, "0"},
        {"number line not a number", with(4, "twenty"), 1, 10, "-1"},
        {"type outside -1..3", with(14, "\"7\""), 1, 20, "0"},
        {"LF line ends", kFile.join('\n') + '\n', 0, 20, "-1"},
        {"extra lines", Lines(kFile) + "junk\r\n", 1, 20, "-1"},
        {"huge file: read up to a bound, whole lines only", Lines(kFile) + QByteArray(3 << 20, 'x'), 1, 20, "-1"},
        {"bad Shift-JIS byte", with(11, "\"\x81\""), 1, 20, "-1"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        const QString path = dir.filePath("Tovanel.INI");
        if (c.bytes != "-") WriteAll(path, c.bytes);
        Settings s;
        const QStringList notices = ReadSettings(path, s);
        EXPECT_EQ(notices.size(), c.notices) << c.name << ": " << notices.join(" | ").toStdString();
        EXPECT_EQ(s.numberLine(4), c.limitLP) << c.name;
        EXPECT_EQ(s.textLine(4), c.type) << c.name;
        for (const QString& n : notices) EXPECT_TRUE(n.contains(QDir::toNativeSeparators(path))) << c.name;
    }
}

// Settings live next to the program in the build folder; installed, in the user's folder, seeded
// once from the shipped file.
TEST(SettingsFile, LocationInTheBuildFolderAndWhenInstalled)
{
    enum Where { kNextToProgram, kShipped, kUser, kNone };
    // Files before the start (nullptr: none); readBefore: LocateSettings().current(); used:
    // SettingsPath(); userAfter: the user's file after the start.
    const struct { const char *name, *local; bool localReadOnly; const char *shipped, *user; Where readBefore, used;
                   const char* userAfter; } cases[] = {
        {"build folder: the file next to the program wins", "L", false, "S", "U", kNextToProgram, kNextToProgram, "U"},
        {"installed, first start: seeded from the shipped file", nullptr, false, "S", nullptr, kShipped, kUser, "S"},
        {"installed, later start or reinstall: the user's stays", nullptr, false, "S2", "U", kUser, kUser, "U"},
        {"installed without a shipped file: nothing to seed", nullptr, false, nullptr, nullptr, kNone, kUser, nullptr},
        {"read-only program folder: its file seeds the user's", "L", true, "S", nullptr, kNextToProgram, kUser, "L"},
    };
    for (const auto& c : cases) {
        if (c.localReadOnly && geteuid() == 0) continue;  // root writes anywhere
        QTemporaryDir root;
        const QString bin = root.filePath("usr/bin"), userDir = root.filePath("home/.config/Tovanel");
        const QString local = bin + "/Tovanel.INI", user = userDir + "/Tovanel.INI";
        const QString shipped = root.filePath("usr/share/tovanel/Tovanel.INI");
        QDir().mkpath(bin);
        QDir().mkpath(root.filePath("usr/share/tovanel"));
        if (c.local) WriteAll(local, c.local);
        if (c.shipped) WriteAll(shipped, c.shipped);
        if (c.user) QDir().mkpath(userDir), WriteAll(user, c.user);
        if (c.localReadOnly) {
            QFile::setPermissions(local, QFile::ReadOwner);
            QFile::setPermissions(bin, QFile::ReadOwner | QFile::ExeOwner);
        }
        const QString places[] = {local, shipped, user, QString()};

        EXPECT_EQ(LocateSettings(bin, userDir).current(), places[c.readBefore]) << c.name;
        EXPECT_EQ(SettingsPath(bin, userDir), places[c.used]) << c.name;
        EXPECT_EQ(ReadAll(user), c.userAfter ? c.userAfter : "(missing)") << c.name;
        EXPECT_TRUE(c.local || !QFileInfo::exists(local)) << c.name << ": the program folder holds no settings";
        QFile::setPermissions(bin, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

}  // namespace
}  // namespace tovanel

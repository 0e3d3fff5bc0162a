// SPDX-License-Identifier: GPL-3.0-or-later
// The text-file layer's seam: what is opened and how far it is read.

#include "calc/textfile.h"

#include "support/files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tovanel {
namespace {

TEST(TextFile, OnlyRegularFilesWithinTheLimitAreOpened)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString small = test::WriteIn(dir, QStringLiteral("small.txt"), QByteArray(100, 'a'));
    const struct { QString path; qint64 maxBytes; const char* says; } cases[] = {
        {small, 100, ""},
        {small, 0, ""},
        {small, 99, "ファイルが大きすぎます"},
        {dir.filePath(QStringLiteral("none")), 0, "開けません（ファイルがありません）。"},
        {dir.path(), 0, "フォルダです。"},
        {fifo, 0, "通常のファイルではありません。"},
    };
    for (const auto& c : cases) {
        InputFile f;
        const QString why = f.open(c.path, c.maxBytes);
        EXPECT_TRUE(*c.says ? why.startsWith(QString::fromUtf8(c.says)) : why.isEmpty()) << c.path.toStdString() << ": " << why.toStdString();
    }
    InputFile f;
    ASSERT_EQ(f.open(small), QString());
    QByteArray bytes;
    ASSERT_EQ(f.read(bytes, 30), QString());
    EXPECT_EQ(bytes.size(), 30) << "read no further than asked";
    ASSERT_EQ(f.read(bytes, 1000), QString());
    EXPECT_EQ(bytes.size(), 70) << "the rest, up to the end";
}

}  // namespace
}  // namespace tovanel

// SPDX-License-Identifier: GPL-3.0-or-later
// The stake points computed without a page are the composed document's, to the last bit.

#include "sheets/stakepoints.h"

#include "sheetfixture.h"

#include <gtest/gtest.h>

namespace tovanel::test {
namespace {

TEST(StakePoints, AreTheComposedDocumentsExportList)
{
    const struct { const char* name; Corner c; } turns[] = {
        {"right turn", Corner{}},
        {"left turn", Corner{.ex = 200, .ey = 0}},
        {"sharp left, wide", Corner{.bx = 0, .by = 0, .ix = 10, .iy = 0, .ex = -5, .ey = 1, .r = 6, .wi = 1, .wo = 2}},
    };
    for (const auto& t : turns)
        for (int type = 0; type < 4; ++type)
            for (double n : {1.0, 2.0, 7.0, 40.0}) {
                Corner c = t.c;
                c.type = type;
                c.n = n;
                const Doc d(c);
                SCOPED_TRACE(testing::Message() << t.name << ", type " << type << ", N " << n);
                ASSERT_TRUE(d.refusal.isEmpty()) << d.refusal.toStdString();
                const ExportList list = StakeList(d.k, d.st);
                ASSERT_EQ(list.count(), d.exports.count());
                for (size_t i = 0; i < list.all().size(); ++i) {
                    const ExportPoint &a = list.all()[i], &b = d.exports.all()[i];
                    EXPECT_EQ(a.name, b.name) << i;
                    EXPECT_EQ(a.x, b.x) << i;  // exactly: the same computation, not a similar one
                    EXPECT_EQ(a.y, b.y) << i;
                }
                const std::vector<ExportPoint> handed = StakePoints(d.k, d.st), files = ExportPoints(d.exports);
                ASSERT_EQ(handed.size(), files.size());
                for (size_t i = 0; i < handed.size(); ++i) EXPECT_EQ(handed[i].name, files[i].name) << i;
            }
}

}  // namespace
}  // namespace tovanel::test

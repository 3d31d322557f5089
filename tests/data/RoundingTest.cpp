#include "data/Rounding.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "platform/MemorySettingsStore.h"
#include "support/RecordingUi.h"

#include <gtest/gtest.h>

namespace lumetra {
namespace {

TEST(Rounding, ShortestTextReadsBackAsTheSameNumber) {
    EXPECT_EQ(ShortestText(8.5), "8.5");
    EXPECT_EQ(ShortestText(1.23456789), "1.23456789");
    EXPECT_EQ(ShortestText(0.1), "0.1");
    EXPECT_EQ(ShortestText(-2.0), "-2");
    EXPECT_EQ(ShortestText(1e-20), "1E-020");
    EXPECT_EQ(StoredValue(8.5, CompiledFormat("%-16.0lf")), 8.0);
    EXPECT_EQ(StoredValue(2.5, CompiledFormat("%-16.5lf")), 2.5);
}

// Only X and Y count, each with its axis' format; the exponent form rounds to its digits.
TEST(Rounding, CountsTheValuesTheFileWouldChange) {
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    doc.OnNewDocument();
    doc.m_pPairs = {{1.5, 12345.678, 99.123456789, 0.1234567}, {2.0, 3.0}};
    EXPECT_EQ(CountRoundedPairs(doc).count, 0); // five decimals keep them all
    doc.m_bYFixed = 0;
    doc.m_nYDecimals = 3;
    doc.BuildFormats();
    const RoundingCount r = CountRoundedPairs(doc);
    EXPECT_EQ(r.count, 1);
    EXPECT_EQ(r.before, "12345.678");
    EXPECT_EQ(r.after, "1.235E+004");
    RoundPairs(doc);
    EXPECT_EQ(doc.m_pPairs[0].m_dY, 12350.0);
    EXPECT_EQ(doc.m_pPairs[0].m_dComputed, 99.123456789); // derived values are the fit's
    EXPECT_EQ(CountRoundedPairs(doc).count, 0);
}

} // namespace
} // namespace lumetra

// Any bytes as a data file on disk, opened as File > Open does. A read either fails with one
// message and leaves nothing behind, or gives a document within the program's bounds that saves
// and reads back to the same file.
#include "FuzzRequire.h"

#include "data/LumetraDoc.h"
#include "platform/MemorySettingsStore.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <cmath>
#include <cstdint>

using namespace lumetra;

namespace {

bool AllFinite(const CLumetraDoc& doc) {
    for (double v : {doc.m_dSumAbsDiff, doc.m_dPerformance, doc.m_dXInt, doc.m_dYInt})
        if (!std::isfinite(v))
            return false;
    for (double c : doc.m_dCoef)
        if (!std::isfinite(c))
            return false;
    for (const CXYdata& p : doc.m_pPairs)
        for (double v : {p.m_dX, p.m_dY, p.m_dComputed, p.m_dDifference})
            if (!std::isfinite(v))
                return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const test::TempDir dir;
    const std::string in =
        dir.Write("in.dat", std::string_view(reinterpret_cast<const char*>(data), size));
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    const bool read = doc.OnOpenDocument(in);
    FUZZ_REQUIRE(doc.m_bReading == 0);
    FUZZ_REQUIRE(!doc.IsModified());
    FUZZ_REQUIRE(ui.waitDepth == 0);
    if (!read) {
        FUZZ_REQUIRE(ui.messages.size() == 1);
        FUZZ_REQUIRE(doc.m_pPairs.empty());
        FUZZ_REQUIRE(doc.m_nPairs == 0);
        FUZZ_REQUIRE(doc.m_bHasFile == 0);
        return 0;
    }
    FUZZ_REQUIRE(ui.messages.empty());
    FUZZ_REQUIRE(doc.m_nCurveType >= 0 && doc.m_nCurveType <= 3);
    FUZZ_REQUIRE(doc.m_nOrder >= 1 && doc.m_nOrder <= kMaxOrder);
    FUZZ_REQUIRE(doc.m_nXDecimals >= 0 && doc.m_nXDecimals <= kMaxDecimals);
    FUZZ_REQUIRE(doc.m_nYDecimals >= 0 && doc.m_nYDecimals <= kMaxDecimals);
    FUZZ_REQUIRE(doc.m_nPairs == int(doc.m_pPairs.size()));
    FUZZ_REQUIRE(AllFinite(doc));

    // A refused save says why; a written file reads back and writes again byte for byte.
    const std::string out = dir.Path("out.dat");
    if (!doc.OnSaveDocument(out)) {
        FUZZ_REQUIRE(ui.messages.size() == 1);
        return 0;
    }
    CLumetraDoc back(ui, settings);
    FUZZ_REQUIRE(back.OnOpenDocument(out));
    FUZZ_REQUIRE(back.m_pPairs.size() == doc.m_pPairs.size());
    FUZZ_REQUIRE(back.m_strDataTitle == doc.m_strDataTitle);
    const std::string again = dir.Path("again.dat");
    FUZZ_REQUIRE(back.OnSaveDocument(again));
    FUZZ_REQUIRE(test::TempDir::Read(again) == test::TempDir::Read(out));
    FUZZ_REQUIRE(ui.messages.empty());
    return 0;
}

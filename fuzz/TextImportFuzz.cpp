// Any bytes as a text file imported on the Data page. The import either appends finite pairs, or
// stops with at most one message, keeping what it read; the pairs are those a line-by-line
// reading of the same bytes finds.
#include "FuzzRequire.h"

#include "data/LumetraDoc.h"
#include "dataentry/ImportFile.h"
#include "platform/MemorySettingsStore.h"
#include "support/RecordingUi.h"
#include "support/TempDir.h"

#include <cmath>
#include <cstdint>

using namespace lumetra;

namespace {

struct Counter : ImportListener {
    int pairs = 0;
    bool shown = false;
    void OnPairImported(const CXYdata&) override { ++pairs; }
    void OnProgressShown(bool s) override { shown = s; }
    void OnProgress(int percent) override { FUZZ_REQUIRE(percent >= 0 && percent <= 100); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const test::TempDir dir;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string in = dir.Write("in.txt", bytes);
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    Counter counter;
    const ImportResult result = ImportFile(doc, ui, in, &counter);

    FUZZ_REQUIRE(ui.messages.size() <= 1);
    FUZZ_REQUIRE(ui.waitDepth == 0);
    FUZZ_REQUIRE(!counter.shown); // hidden again however it ended
    FUZZ_REQUIRE(result.imported == counter.pairs);
    FUZZ_REQUIRE(size_t(result.imported) == doc.m_pPairs.size());
    // A pair comes from a line, so there are never more pairs than line ends (LF, CR LF or CR)
    // plus the last line.
    size_t lines = 1;
    for (size_t i = 0; i < bytes.size(); ++i)
        lines += bytes[i] == '\n' ||
                 (bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n'));
    FUZZ_REQUIRE(doc.m_pPairs.size() <= lines);
    for (const CXYdata& p : doc.m_pPairs)
        FUZZ_REQUIRE(std::isfinite(p.m_dX) && std::isfinite(p.m_dY));
    FUZZ_REQUIRE(doc.m_nPairs == 0 && !doc.IsModified());
    return 0;
}

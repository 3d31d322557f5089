// A document filled with any titles, settings, coefficients and pairs the program's pages allow,
// refitted or taken as stored, then reported. A fit that succeeds leaves only finite numbers,
// and the report holds its header and one row per pair.
#include "FuzzRequire.h"

#include "data/LumetraDoc.h"
#include "fit/FitEngine.h"
#include "platform/MemorySettingsStore.h"
#include "report/ReportBuilder.h"
#include "support/RecordingUi.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>

using namespace lumetra;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    test::RecordingUi ui;
    MemorySettingsStore settings;
    CLumetraDoc doc(ui, settings);
    doc.OnNewDocument();
    doc.m_strDataTitle = in.ConsumeRandomLengthString(200);
    doc.m_strXTitle = in.ConsumeRandomLengthString(40);
    doc.m_strYTitle = in.ConsumeRandomLengthString(40);
    doc.m_nCurveType = in.ConsumeIntegralInRange(0, 3);
    doc.m_nOrder = in.ConsumeIntegralInRange(1, kMaxOrder);
    doc.m_nXDecimals = in.ConsumeIntegralInRange(0, kMaxDecimals);
    doc.m_nYDecimals = in.ConsumeIntegralInRange(0, kMaxDecimals);
    doc.m_bXFixed = in.ConsumeBool();
    doc.m_bYFixed = in.ConsumeBool();
    const bool refit = in.ConsumeBool();
    for (double& c : doc.m_dCoef)
        c = in.ConsumeFloatingPoint<double>();
    const size_t pairs = in.ConsumeIntegralInRange<size_t>(0, 300);
    for (size_t k = 0; k < pairs && in.remaining_bytes() > 0; ++k) {
        CXYdata p;
        p.m_dX = in.ConsumeFloatingPoint<double>();
        p.m_dY = in.ConsumeFloatingPoint<double>();
        p.m_dComputed = in.ConsumeFloatingPoint<double>();
        p.m_dDifference = in.ConsumeFloatingPoint<double>();
        doc.m_pPairs.push_back(p);
    }
    doc.m_nPairs = int(doc.m_pPairs.size());
    doc.BuildFormats();

    if (refit) {
        CFitEngine engine(doc);
        if (engine.RefitDocument()) {
            FUZZ_REQUIRE(doc.m_nOrder >= 1 && doc.m_nOrder <= kMaxOrder);
            for (double v : {doc.m_dSumAbsDiff, doc.m_dPerformance, doc.m_dXInt, doc.m_dYInt})
                FUZZ_REQUIRE(std::isfinite(v));
            for (int k = 0; k <= doc.m_nOrder; ++k)
                FUZZ_REQUIRE(std::isfinite(doc.m_dCoef[k]));
            for (const CXYdata& p : doc.m_pPairs)
                FUZZ_REQUIRE(std::isfinite(p.m_dComputed) && std::isfinite(p.m_dDifference));
        }
        FUZZ_REQUIRE(doc.m_bFitting == 0);
    }

    ReportBuilder report(doc, kReportLineLimit);
    report.BuildReport();
    FUZZ_REQUIRE(doc.m_nLineCount == int(doc.m_pReportLines.size()));
    FUZZ_REQUIRE(doc.m_pReportLines.size() > doc.m_pPairs.size());
    FUZZ_REQUIRE(doc.m_bBuildingReport == 0);
    FUZZ_REQUIRE(ui.waitDepth == 0);
    return 0;
}

// The application's Options sheets: Options > Data (Curve, Data and Resolution pages) and
// Options > Compute (Compute Y and Compute X pages) on the document of a view, and Edit > Undo
// and Redo of what the first one changed. They are put together here, where the pages of both
// folders meet.
#include "app/LumetraApp.h"

#include "data/LumetraDoc.h"
#include "dataentry/DataPage.h"
#include "framework/View.h"
#include "options/ComputePages.h"
#include "options/CurvePage.h"
#include "options/OptionsCommands.h"
#include "options/ResolutionPage.h"
#include "platform/BusyScope.h"

#include <QWidget>

namespace lumetra {

void CLumetraApp::RunOptionsData(CView& view, const std::string& importPath) {
    CLumetraDoc& doc = view.GetDocument();
    lumetra::RunOptionsData(
        doc,
        [&](DocumentBackup& backup) {
            CMySheet sheet(view.Widget()->window());
            sheet.AddPage(new CCurveType(doc, m_ui));
            auto* data = new CData(doc, m_ui, sheet, LinesPerDisplayPage(), &backup);
            sheet.AddPage(data);
            sheet.AddPage(new CCurveData(doc, m_ui, sheet));
            if (!importPath.empty() && sheet.SetActivePage(1))
                data->ImportFromFile(importPath);
            return RunSheet(sheet);
        },
        [&] { UpdateAllViews(doc, nullptr, kHintRefit); });
}

void CLumetraApp::StepHistory(CLumetraDoc& doc, bool redo) {
    lumetra::StepHistory(doc, redo, [&] { UpdateAllViews(doc, nullptr, kHintRefit); });
}

void CLumetraApp::ExcludePairs(CLumetraDoc& doc, const std::vector<size_t>& pairs, bool exclude) {
    SetPairsExcluded(doc, pairs, exclude, [&] { UpdateAllViews(doc, nullptr, kHintRefit); });
}

void CLumetraApp::RunOptionsCompute(CView& view) {
    CLumetraDoc& doc = view.GetDocument();
    const BusyScope open(doc.m_bSheetOpen);
    CMySheet sheet(view.Widget()->window());
    sheet.AddPage(new CCompY(doc, m_ui));
    sheet.AddPage(new CCompX(doc, m_ui));
    RunSheet(sheet);
}

} // namespace lumetra

#include "options/OptionsDialogs.h"

#include "app/AppHost.h"
#include "app/CommandIds.h"
#include "app/View.h"
#include "data/LumetraDoc.h"
#include "dataentry/DataPage.h"
#include "options/ComputePages.h"
#include "options/CurvePage.h"
#include "options/OptionsCommands.h"
#include "options/ResolutionPage.h"

#include <QWidget>

namespace lumetra {

void RunOptionsDataSheet(CAppHost& app, CView& view, const std::string& importPath) {
    CLumetraDoc& doc = view.GetDocument();
    RunOptionsData(
        doc,
        [&](DocumentBackup& backup) {
            CMySheet sheet(view.Widget()->window());
            sheet.AddPage(new CCurveType(doc, app.GetUi()));
            auto* data = new CData(doc, app.GetUi(), sheet, app.LinesPerDisplayPage(), &backup);
            sheet.AddPage(data);
            sheet.AddPage(new CCurveData(doc, app.GetUi(), sheet));
            if (!importPath.empty() && sheet.SetActivePage(1))
                data->ImportFromFile(importPath);
            return app.RunSheet(sheet);
        },
        [&] { app.UpdateAllViews(doc, nullptr, kHintRefit); });
}

void RunOptionsComputeSheet(CAppHost& app, CView& view) {
    CLumetraDoc& doc = view.GetDocument();
    CMySheet sheet(view.Widget()->window());
    sheet.AddPage(new CCompY(doc, app.GetUi()));
    sheet.AddPage(new CCompX(doc, app.GetUi()));
    app.RunSheet(sheet);
}

bool RunOptionsCommand(CAppHost& app, CView& view, int id) {
    if (id == cmd::kOptionsData)
        RunOptionsDataSheet(app, view);
    else if (id == cmd::kOptionsCompute)
        RunOptionsComputeSheet(app, view);
    else
        return false;
    return true;
}

} // namespace lumetra

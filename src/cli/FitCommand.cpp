#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "fit/FitEngine.h"
#include "options/CurveTypeRules.h"
#include "report/ReportBuilder.h"

#include <ostream>

namespace lumetra::cli {

int Refit(CLumetraDoc& doc, const Arguments& args) {
    if (args.method)
        doc.m_eFitMethod = *args.method;
    if (args.weights)
        doc.m_eWeights = *args.weights;
    if (args.weights || args.absolute)
        doc.m_bSigmaAbsolute = args.absolute;
    doc.m_nPairs = int(doc.m_pPairs.size());
    return CFitEngine(doc).RefitDocument();
}

int FitPrintAndSave(CliDocument& file, const Arguments& fit, Streams io) {
    CLumetraDoc& doc = file.doc;
    Ui& ui = file.ui;

    // The settings go in as the Curve page takes them.
    CurveTypeRules page;
    page.OnSetActive(doc);
    if (fit.model >= 0)
        page.m_nType = fit.model;
    if (fit.title)
        page.m_strDataTitle = *fit.title;
    if (fit.xtitle)
        page.m_strXTitle = *fit.xtitle;
    if (fit.ytitle)
        page.m_strYTitle = *fit.ytitle;
    if (!fit.order.empty() && !ReadWholeNumber(fit.order, page.m_nOrder)) {
        ui.MessageBox("Please enter an integer.");
        return kUsage;
    }
    page.UpdateOrderField();
    // The page refuses an axis title that the user leaves empty; one that is empty in the file
    // and not given here stays as it is.
    const bool keepEmptyX = page.m_strXTitle.empty() && !fit.xtitle;
    const bool keepEmptyY = page.m_strYTitle.empty() && !fit.ytitle;
    if (keepEmptyX)
        page.m_strXTitle = "X";
    if (keepEmptyY)
        page.m_strYTitle = "Y";
    if (page.OnKillActive(ui, doc) != PageField::None)
        return kUsage;
    page.OnOK(doc);
    if (keepEmptyX)
        doc.m_strXTitle.clear();
    if (keepEmptyY)
        doc.m_strYTitle.clear();

    // And the fit runs as a listing window runs it when the sheet closes with a change.
    doc.BuildFormats();
    const int fitted = Refit(doc, fit);
    ReportBuilder report(doc, kReportLineLimit);
    report.BuildReport();
    PrintReportLines(doc, io.out);

    if (fit.save.empty())
        return fitted ? kOk : kFailed;
    if (!fitted) {
        io.err << "The curve was not fitted; nothing was saved to " << fit.save << ".\n";
        return kFailed;
    }
    return doc.OnSaveDocument(fit.save) ? kOk : kFailed;
}

bool AsksForRefit(const Arguments& args) {
    return args.method || args.weights || args.absolute;
}

int RunFit(const Arguments& args, Streams io) {
    CliDocument file(io.err);
    if (!file.Open(args.file))
        return kFailed;
    return FitPrintAndSave(file, args, io);
}

} // namespace lumetra::cli

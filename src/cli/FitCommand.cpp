#include "cli/CliDocument.h"
#include "cli/FitArgs.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "fit/CurveModels.h"
#include "fit/FitEngine.h"
#include "options/CurveTypeRules.h"
#include "report/ReportBuilder.h"

#include <ostream>

namespace lumetra::cli {
namespace {

std::string FitUsage() {
    return "usage: lumetra-cli fit FILE [--model " + CurveModelCliNames() +
           "] [--order N] [--method classic|accurate] [--save OUT]\n";
}

} // namespace

bool ParseMethodArg(const std::vector<std::string>& args, size_t& i,
                    std::optional<FitMethod>& method) {
    if (args[i] != "--method" || i + 1 >= args.size())
        return false;
    method = FitMethodFromWord(args[i + 1]);
    if (!method)
        return false;
    ++i;
    return true;
}

bool ParseFitArgs(const std::vector<std::string>& args, bool withTitles, FitArgs& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--model" && hasValue) {
            const CurveModel* model = FindCurveModel(std::string_view(args[++i]));
            if (!model)
                return false;
            out.model = CurveCode(*model);
        } else if (a == "--order" && hasValue) {
            out.order = args[++i];
        } else if (a == "--method") {
            if (!ParseMethodArg(args, i, out.method))
                return false;
        } else if (a == "--save" && hasValue && !args[i + 1].empty()) {
            out.save = args[++i];
        } else if (withTitles && a == "--title" && hasValue) {
            out.title = args[++i];
        } else if (withTitles && a == "--xtitle" && hasValue) {
            out.xtitle = args[++i];
        } else if (withTitles && a == "--ytitle" && hasValue) {
            out.ytitle = args[++i];
        } else if (a.rfind("--", 0) != 0 && out.file.empty()) {
            out.file = a;
        } else {
            return false;
        }
    }
    return !out.file.empty();
}

int FitPrintAndSave(CliDocument& file, const FitArgs& fit, Streams io) {
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
    if (fit.method)
        doc.m_eFitMethod = *fit.method;

    // And the fit runs as a listing window runs it when the sheet closes with a change.
    doc.m_nPairs = int(doc.m_pPairs.size());
    doc.BuildFormats();
    CFitEngine engine(doc);
    const int fitted = engine.RefitDocument();
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

int RunFit(const std::vector<std::string>& args, Streams io) {
    FitArgs fit;
    if (!ParseFitArgs(args, false, fit)) {
        io.err << FitUsage();
        return kUsage;
    }
    CliDocument file(io.err);
    if (!file.Open(fit.file))
        return kFailed;
    return FitPrintAndSave(file, fit, io);
}

} // namespace lumetra::cli

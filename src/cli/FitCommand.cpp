#include "cli/CliDocument.h"
#include "cli/FitArgs.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
#include "data/Rounding.h"
#include "fit/FitEngine.h"
#include "options/CurveTypeRules.h"
#include "report/ReportBuilder.h"

#include <map>
#include <ostream>

namespace lumetra::cli {
namespace {

constexpr const char* kFitUsage =
    "usage: lumetra-cli fit FILE [--model poly|loglog|semilogy|semilogx] [--order N] "
    "[--save OUT]\n";

const std::map<std::string, int> kModels = {
    {"poly", 0}, {"loglog", 1}, {"semilogy", 2}, {"semilogx", 3}};

} // namespace

bool ParseFitArgs(const std::vector<std::string>& args, bool withTitles, FitArgs& out) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--model" && hasValue) {
            const auto it = kModels.find(args[++i]);
            if (it == kModels.end())
                return false;
            out.model = it->second;
        } else if (a == "--order" && hasValue) {
            out.order = args[++i];
        } else if (a == "--save" && hasValue) {
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
    if (page.OnKillActive(ui, doc) != PageField::None)
        return kUsage;
    page.OnOK(doc);

    // And the fit runs as a listing window runs it when the sheet closes with a change.
    doc.m_nPairs = int(doc.m_pPairs.size());
    doc.BuildFormats();
    CFitEngine engine(doc);
    const int fitted = engine.RefitDocument();
    ReportBuilder report(doc, kReportLineLimit);
    report.BuildReport();
    PrintReportLines(doc, io.out);

    if (!fit.save.empty()) {
        // The file keeps the display precision; a batch run cannot ask, so it says what it did.
        const RoundingCount rounding = CountRoundedPairs(doc);
        RoundPairs(doc);
        if (!doc.OnSaveDocument(fit.save))
            return kFailed;
        if (rounding.count > 0)
            ui.MessageBox("File " + fit.save + ":\n" + RoundingReport(rounding));
    }
    return fitted ? kOk : kFailed;
}

int RunFit(const std::vector<std::string>& args, Streams io) {
    FitArgs fit;
    if (!ParseFitArgs(args, false, fit)) {
        io.err << kFitUsage;
        return kUsage;
    }
    CliDocument file(io.err);
    if (!file.Open(fit.file))
        return kFailed;
    return FitPrintAndSave(file, fit, io);
}

} // namespace lumetra::cli

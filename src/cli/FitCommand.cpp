#include "cli/CliDocument.h"
#include "cli/Commands.h"

#include "data/LumetraDoc.h"
#include "data/NumberScan.h"
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

struct FitArgs {
    std::string file;
    int model = -1; // -1: as stored
    std::string order;
    std::string save;
};

bool ParseFitArgs(const std::vector<std::string>& args, FitArgs& out) {
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
        } else if (a.rfind("--", 0) != 0 && out.file.empty()) {
            out.file = a;
        } else {
            return false;
        }
    }
    return !out.file.empty();
}

} // namespace

int RunFit(const std::vector<std::string>& args, Streams io) {
    FitArgs fit;
    if (!ParseFitArgs(args, fit)) {
        io.err << kFitUsage;
        return kUsage;
    }
    CliDocument file(io.err);
    if (!file.Open(fit.file))
        return kFailed;
    CLumetraDoc& doc = file.doc;
    Ui& ui = file.ui;

    // The settings go in as the Curve page takes them.
    CurveTypeRules page;
    page.OnSetActive(doc);
    if (fit.model >= 0)
        page.m_nType = fit.model;
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

    if (!fit.save.empty() && !doc.OnSaveDocument(fit.save))
        return kFailed;
    return fitted ? kOk : kFailed;
}

} // namespace lumetra::cli

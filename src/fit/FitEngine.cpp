#include "fit/FitEngine.h"

#include "fit/CurveModels.h"
#include "fit/FitPairs.h"
#include "fit/FitStatistics.h"
#include "fit/FitWeights.h"
#include "fit/ModelEval.h"
#include "fit/ModelFits.h"
#include "platform/BusyScope.h"
#include "platform/Ui.h"

#include <algorithm>
#include <new>
#include <optional>

namespace lumetra {
namespace {

constexpr const char* kCantFit = "Can't Fit the Curve";
constexpr const char* kSingular = "Matrix is Singular!\nCan't Fit the Curve";
constexpr const char* kTooLarge =
    "The data or the fitted curve hold numbers too large to compute with!\nCan't Fit the Curve";
constexpr const char* kOutOfMemory = "Out of Memory!\nSHUT DOWN APPLICATION NOW!";
constexpr const char* kSingularClassic =
    "\nThe Classic method's normal equations are singular for these data; the Accurate method "
    "fits them.";

} // namespace

bool MeasuredValuesAllEqual(const CLumetraDoc& doc) {
    const FitPairs fitted(doc);
    const std::span<const CXYdata> pairs = fitted.Pairs();
    const size_t N = pairs.size();
    if (N == 0)
        return false;
    const CurveModel* model = FindCurveModel(doc.m_nCurveType);
    const bool xFromY = model && model->xFromY;
    auto measured = [&](size_t k) { return xFromY ? pairs[k].m_dX : pairs[k].m_dY; };
    for (size_t k = 1; k < N; ++k)
        if (measured(k) != measured(0))
            return false;
    return true;
}

int CFitEngine::Refuse(const std::string& message) {
    m_doc.GetUi().MessageBox(message);
    m_strFailure = message.substr(0, message.find('\n'));
    return 0;
}

int CFitEngine::RefitDocument() {
    int ok = 0;
    {
        const BusyScope fitting(m_doc.m_bFitting);
        m_doc.m_dClassicDigits = -1.0;
        m_doc.m_pFitState.reset();
        m_strFailure.clear();
        m_strOfferAccurate.clear();
        ok = FitCurve();
        m_doc.m_bFitFailed = !ok;
        m_doc.m_strFitFailure = ok ? std::string() : m_strFailure;
        ZeroFailedFit(ok);
    }
    // Shown once the fit has ended, so the close guard no longer sees it running; the user may
    // have the accurate method refit at once.
    if (NeedsPrecisionWarning(m_doc))
        m_strOfferAccurate = PrecisionWarningText(m_doc.m_dClassicDigits);
    if (m_strOfferAccurate.empty())
        return ok;
    const Ui::Icon icon = ok ? Ui::Icon::Information : Ui::Icon::Exclamation;
    if (m_doc.GetUi().MessageWithAction(m_strOfferAccurate, kRefitAccurateButton, icon) !=
        Ui::Answer::Yes)
        return ok;
    m_doc.m_eFitMethod = FitMethod::Accurate;
    return RefitDocument();
}

void CFitEngine::ZeroFailedFit(int ok) {
    if (!ok) {
        m_doc.m_dPerformance = 0.0;
        m_doc.m_dSumAbsDiff = 0.0;
        const int coefs = std::clamp(m_doc.m_nOrder + 1, 0, kMaxCoefs);
        std::fill(m_doc.m_dCoef, m_doc.m_dCoef + coefs, 0.0);
        // XINT and YINT keep what they held: only a fit that succeeds stores its own.
    }
}

bool CFitEngine::CheckPairCount(const CurveModel& model, int N) {
    Ui& ui = m_doc.GetUi();
    if (!model.usesOrder) {
        if (N > 2)
            return true;
        Refuse("Must have a minimum of 3 data points to fit the curve!\n" + std::string(kCantFit));
        return false;
    }
    const int n = m_doc.m_nOrder;
    if (N > n)
        return true;
    std::string text =
        FormatC("Must have a minimum of %d data points to fit the curve!\n", {n + 1});
    if (N <= 1) {
        Refuse(text + kCantFit);
        return false;
    }
    m_doc.m_nOrder = N - 1;
    ui.MessageBox(text + FormatC("Resetting curver order to %d!", {N - 1}));
    return true;
}

int CFitEngine::FitCurve() {
    Ui& ui = m_doc.GetUi();
    const int N = std::min(m_doc.m_nPairs, int(m_doc.m_pPairs.size()));
    const CurveModel* model = FindCurveModel(m_doc.m_nCurveType);
    if (!model)
        return Refuse(
            FormatC("Curve type %d is not one this application fits!\n", {m_doc.m_nCurveType}) +
            kCantFit);
    std::optional<FitPairs> fitted;
    try {
        fitted.emplace(m_doc);
    } catch (const std::bad_alloc&) {
        return Refuse(kOutOfMemory);
    }
    if (!CheckPairCount(*model, int(fitted->Size())))
        return 0;

    const BusyScope wait(ui);
    // However the fit ends, its work arrays go with it.
    struct FreeOnExit {
        CFitEngine& engine;
        ~FreeOnExit() { engine.FreeWorkArrays(); }
    } freeWorkArrays{*this};
    if (!AllocateWorkArrays(fitted->Size()))
        return 0;
    FitWeights weights;
    try {
        weights = DocumentWeights(m_doc);
    } catch (const std::bad_alloc&) {
        return Refuse(kOutOfMemory);
    }
    if (!weights.failure.empty())
        return Refuse(weights.failure + "\n" + kCantFit);
    // The plot's range takes in the excluded pairs too: they stay on it.
    m_doc.ResetExtremes(m_doc.m_pPairs[0]);
    for (int k = 0; k < N; ++k)
        m_doc.UpdateExtremes(m_doc.m_pPairs[size_t(k)]);
    for (size_t k = 0; k < fitted->Size(); ++k) {
        m_pWorkX[k] = fitted->Pairs()[k].m_dX;
        m_pWorkY[k] = fitted->Pairs()[k].m_dY;
    }
    const FitResult result =
        model->fit(m_pWorkX, m_pWorkY, weights.weights, m_doc.m_nOrder, *this, m_doc.m_eFitMethod);
    if (!result.Ok()) {
        if (result.offsetsSet) {
            m_doc.m_dXInt = result.xint;
            m_doc.m_dYInt = result.yint;
        }
        ShowFailure(*model, result);
        return 0;
    }
    StoreResult(*model, result, *fitted);
    return 1;
}

int CFitEngine::AllocateWorkArrays(size_t N) {
    try {
        m_pWorkX.assign(N, 0.0);
        m_pWorkY.assign(N, 0.0);
    } catch (const std::bad_alloc&) {
        FreeWorkArrays();
        return Refuse(kOutOfMemory);
    }
    return 1;
}

void CFitEngine::FreeWorkArrays() {
    std::vector<double>().swap(m_pWorkX);
    std::vector<double>().swap(m_pWorkY);
}

void CFitEngine::BuildNormalEquations() {
    std::fill(m_doc.m_dCoef, m_doc.m_dCoef + m_doc.m_nOrder + 1, 0.0);
    lumetra::BuildNormalEquations(m_pWorkX, m_pWorkY, m_doc.m_nOrder, *this);
}

int CFitEngine::SolveNormalEquations() {
    if (lumetra::SolveNormalEquations(*this, m_doc.m_nOrder, m_doc.m_dCoef))
        return 1;
    return Refuse(kSingular);
}

void CFitEngine::StoreResult(const CurveModel& model, const FitResult& result,
                             const FitPairs& fitted) {
    const int coefs = CoefficientCount(model, m_doc.m_nOrder);
    std::copy(result.coef, result.coef + coefs, m_doc.m_dCoef);
    m_doc.m_dXInt = result.xint;
    m_doc.m_dYInt = result.yint;
    auto store = [&](CXYdata& p, double computed) {
        p.m_dComputed = computed;
        p.m_dDifference = (model.xFromY ? p.m_dX : p.m_dY) - computed;
    };
    for (size_t k = 0; k < result.computed.size(); ++k)
        store(m_doc.m_pPairs[fitted.DocumentIndex(k)], result.computed[k]);
    // An excluded pair still shows how far it lies from the curve.
    if (fitted.Excluded() > 0)
        for (CXYdata& p : m_doc.m_pPairs)
            if (p.m_bExcluded) {
                double x = p.m_dX, y = p.m_dY;
                if (EvalCurvePoint(m_doc, x, y))
                    store(p, model.xFromY ? x : y);
                else
                    p.m_dComputed = p.m_dDifference = 0.0;
            }
    m_doc.m_dSumAbsDiff = result.sumAbsDiff;
    m_doc.m_dPerformance = result.performance;
    m_doc.m_dClassicDigits = result.classicDigits;
    m_doc.m_pFitState = result.state;
}

void CFitEngine::ShowFailure(const CurveModel& model, const FitResult& result) {
    const char* first = nullptr;
    const int coefs = CoefficientCount(model, m_doc.m_nOrder);
    switch (result.failure) {
    case FitFailure::NonPositiveXY:
        first = "Values in both X & Y arrays are <= 0.0!\n";
        break;
    case FitFailure::NonPositiveX:
        first = "One or more values in X array is <= 0.0!\n";
        break;
    case FitFailure::NonPositiveY:
        first = "One or more values in Y array is <= 0.0!\n";
        break;
    case FitFailure::Singular:
        Refuse(kSingular);
        return;
    case FitFailure::NotFinite:
        Refuse(kTooLarge);
        return;
    case FitFailure::OutOfMemory:
        Refuse(kOutOfMemory);
        return;
    case FitFailure::SingularClassic:
        // Shown with the accurate method's button once the fit has ended.
        m_strFailure = "Matrix is Singular!";
        m_strOfferAccurate = kSingular + std::string(kSingularClassic);
        return;
    case FitFailure::RankDeficient:
        Refuse(result.distinctInputs < coefs
                   ? FormatC("A curve with %d coefficients needs %d different %s values; the "
                             "data hold %d.\n",
                             {coefs, coefs, model.inputName, result.distinctInputs}) +
                         kCantFit
                   : FormatC("The %s values lie too close together to determine %d "
                             "coefficients.\n",
                             {model.inputName, coefs}) +
                         kCantFit);
        return;
    case FitFailure::CoefficientRange:
        Refuse(FormatC("C[%d] of the fitted curve lies beyond the range of numbers.\nShift %s "
                       "(subtract a value near its mean from every %s) and fit again.\n",
                       {result.overflowCoef + 1, model.inputName, model.inputName}) +
               kCantFit);
        return;
    case FitFailure::None:
        return;
    }
    Refuse(std::string(first) + "This will cause an error during Fitting!\n" + "**  Can't Fit " +
           model.refusalName + " Curve  **");
}

} // namespace lumetra

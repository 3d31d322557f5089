#pragma once

#include "data/LumetraDoc.h"
#include "fit/NormalEquations.h"

#include <vector>

namespace lumetra {

struct CurveModel;
struct FitResult;
class FitPairs;

// True when every measured value of the fit (Y, or X for a model of X from Y) is the same: the
// coefficient of performance is then 1 by definition.
bool MeasuredValuesAllEqual(const CLumetraDoc& doc);

// The fit driver of a listing view: takes the pairs and settings from the document, runs the
// model's fit over them in its working storage (the normal equations it inherits and the two
// work arrays), stores the result in the document and shows the messages.
class CFitEngine : public NormalEquations {
public:
    explicit CFitEngine(CLumetraDoc& doc) : m_doc(doc) {}

    // What a listing view does on an update with hint 1: raise m_bFitting, fit, zero the
    // coefficients and statistics if the fit failed and note why in m_strFitFailure, lower the
    // flag (on every way out). A classic fit that kept too few digits, or whose normal equations
    // alone were singular, then offers to refit at once with the accurate method.
    // Returns FitCurve's result (the refit's when the user took the offer).
    int RefitDocument();

    int FitCurve();
    int AllocateWorkArrays(size_t pairs);
    // The solver steps on the work arrays and the document's coefficients, for driving it by
    // hand: the normal equations of the document's order, and their solution (0 after the
    // singular-matrix message).
    void BuildNormalEquations();
    int SolveNormalEquations();

    std::vector<double> m_pWorkX;
    std::vector<double> m_pWorkY;

private:
    // Lowers the order or refuses when there are too few pairs for the model; false: refused.
    bool CheckPairCount(const CurveModel& model, int pairs);
    void StoreResult(const CurveModel& model, const FitResult& result, const FitPairs& fitted);
    void ShowFailure(const CurveModel& model, const FitResult& result);
    void FreeWorkArrays();
    // Shows why the fit cannot go on and keeps its first line as the reason; returns 0.
    int Refuse(const std::string& message);
    // A failed fit leaves zero coefficients and statistics behind.
    void ZeroFailedFit(int ok);

    CLumetraDoc& m_doc;
    std::string m_strFailure;
    // The message that offers the accurate method once the fit has ended (empty: none).
    std::string m_strOfferAccurate;
};

} // namespace lumetra

#include "data/Rounding.h"

#include "data/LumetraDoc.h"
#include "data/NumberFormat.h"
#include "data/NumberScan.h"

namespace lumetra {

void RoundingCount::Add(double value, const std::string& shownAfter) {
    if (count++ == 0) {
        before = ShortestText(value);
        after = shownAfter;
    }
}

double StoredValue(double value, const CompiledFormat& format) {
    return TextToDouble(format.Format({value}));
}

std::string ShortestText(double value) {
    std::string text;
    for (int digits = 1; digits <= 17; ++digits) {
        text = FormatC(FormatC("%%.%dG", {digits}), {value});
        if (TextToDouble(text) == value)
            break;
    }
    return text;
}

namespace {

// Visits each X and Y value with the format the file writes it in.
template <class Doc, class Visit> void ForEachValue(Doc& doc, Visit visit) {
    const CompiledFormat x(doc.m_szXFormat), y(doc.m_szYFormat);
    for (auto& pair : doc.m_pPairs) {
        visit(pair.m_dX, x);
        visit(pair.m_dY, y);
    }
}

} // namespace

RoundingCount CountRoundedPairs(const CLumetraDoc& doc) {
    RoundingCount rounding;
    ForEachValue(doc, [&](double value, const CompiledFormat& f) {
        if (StoredValue(value, f) != value) {
            std::string shown = f.Format({value});
            TrimCSpace(shown);
            rounding.Add(value, shown);
        }
    });
    return rounding;
}

void RoundPairs(CLumetraDoc& doc) {
    ForEachValue(doc,
                 [](double& value, const CompiledFormat& f) { value = StoredValue(value, f); });
}

std::string RoundingQuestion(const RoundingCount& r, bool saving) {
    const char* when = saving ? "saved" : "stored";
    const std::string answers =
        saving ? (r.count == 1 ? "OK rounds it and saves; Cancel saves nothing."
                               : "OK rounds them and saves; Cancel saves nothing.")
               : (r.count == 1 ? "OK rounds it; Cancel goes back to the list."
                               : "OK rounds them; Cancel goes back to the list.");
    if (r.count == 1)
        return FormatC("1 value changes when %s with the display precision:\n%s becomes %s!\n",
                       {when, r.before, r.after}) +
               answers;
    return FormatC("%d values change when %s with the display precision,\nfor example %s "
                   "becomes %s!\n",
                   {r.count, when, r.before, r.after}) +
           answers;
}

std::string RoundingReport(const RoundingCount& r) {
    return r.count == 1
               ? FormatC("1 value was rounded to the display precision when saved: %s became "
                         "%s.",
                         {r.before, r.after})
               : FormatC("%d values were rounded to the display precision when saved,\nfor "
                         "example %s became %s.",
                         {r.count, r.before, r.after});
}

} // namespace lumetra

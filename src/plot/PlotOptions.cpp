#include "plot/PlotOptions.h"

#include "fit/CurveModels.h"
#include "platform/SettingsStore.h"

namespace lumetra {

bool ReadPlotFlag(const SettingsStore& settings, const char* entry) {
    return settings.GetString("Preferences", entry, "0") == "1";
}

void WritePlotFlag(SettingsStore& settings, const char* entry, bool on) {
    settings.SetString("Preferences", entry, on ? "1" : "0");
}

PlotOptions LoadPlotOptions(const SettingsStore& settings) {
    PlotOptions options;
    options.confidenceBand = ReadPlotFlag(settings, kConfidenceBandEntry);
    options.predictionBand = ReadPlotFlag(settings, kPredictionBandEntry);
    options.residuals = ReadPlotFlag(settings, kResidualsEntry);
    options.logX = ReadPlotFlag(settings, kLogXEntry);
    options.logY = ReadPlotFlag(settings, kLogYEntry);
    options.readable = ReadPlotFlag(settings, kReadableEntry);
    return options;
}

void SavePlotOptions(SettingsStore& settings, const PlotOptions& options) {
    WritePlotFlag(settings, kConfidenceBandEntry, options.confidenceBand);
    WritePlotFlag(settings, kPredictionBandEntry, options.predictionBand);
    WritePlotFlag(settings, kResidualsEntry, options.residuals);
    WritePlotFlag(settings, kLogXEntry, options.logX);
    WritePlotFlag(settings, kLogYEntry, options.logY);
    WritePlotFlag(settings, kReadableEntry, options.readable);
}

PlotOptions NewPlotOptions(const SettingsStore& settings, int curveType) {
    PlotOptions options = LoadPlotOptions(settings);
    const CurveModel* model = FindCurveModel(curveType);
    if (model && model->type != CurveType::Polynomial &&
        ReadPlotFlag(settings, kLogForLogModelsEntry)) {
        options.logX = model->type == CurveType::LogLog || model->type == CurveType::SemilogX;
        options.logY = model->type == CurveType::LogLog || model->type == CurveType::SemilogY;
    }
    return options;
}

} // namespace lumetra

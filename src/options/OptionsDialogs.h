#pragma once

#include <string>

namespace lumetra {

class CAppHost;
class CView;

// Options > Data (Curve, Data and Resolution pages) and Options > Compute (Compute Y and
// Compute X pages) on the view's document; the listing and the plot window both call these.
// With an import path the sheet opens on the Data page with that text file imported.
void RunOptionsDataSheet(CAppHost& app, CView& view, const std::string& importPath = {});
void RunOptionsComputeSheet(CAppHost& app, CView& view);
// Options > Data and Options > Compute as every window of a document handles them: true when id
// was one of the two.
bool RunOptionsCommand(CAppHost& app, CView& view, int id);

} // namespace lumetra

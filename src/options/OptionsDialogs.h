#pragma once

namespace lumetra {

class CAppHost;
class CView;

// Options > Data (Curve, Data and Resolution pages) and Options > Compute (Compute Y and
// Compute X pages) on the view's document; the listing and the plot window both call these.
void RunOptionsDataSheet(CAppHost& app, CView& view);
void RunOptionsComputeSheet(CAppHost& app, CView& view);

} // namespace lumetra

#pragma once

namespace lumetra {

class CLumetraApp;
class CView;

// Options > Data (Curve, Data and Resolution pages) and Options > Compute (Compute Y and
// Compute X pages) on the view's document; the listing and the plot window both call these.
void RunOptionsDataSheet(CLumetraApp& app, CView& view);
void RunOptionsComputeSheet(CLumetraApp& app, CView& view);

} // namespace lumetra

#pragma once

#include "framework/CommandTarget.h"

#include <string>
#include <vector>

class QWidget;

namespace lumetra {

class CLumetraDoc;

// Update hints: 1, the pairs or settings changed (refit); 2, a window of the document rebuilt
// the report lines, so every listing window shows them anew.
inline constexpr int kHintRefit = 1;
inline constexpr int kHintReportRebuilt = 2;

// A window onto a document: the listing, the plot or the statistics.
class CView : public CCommandTarget {
public:
    virtual CLumetraDoc& GetDocument() const = 0;
    // The document changed; hint 1: its pairs or settings.
    virtual void OnUpdate(CView* sender, int hint) = 0;
    // Called once the view sits in its frame and is shown for the first time: a first update,
    // with hint 0, unless the view does more.
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0); }
    virtual QWidget* Widget() = 0;
    // True while the view runs an operation that dispatches messages (a report or page build):
    // the commands that would change or close its document wait until it ends.
    virtual bool IsBusy() const { return false; }

    // Edit > Copy in a view whose content is text: whether there is anything to copy, and the
    // text it puts on the clipboard (the selection, or all of it when nothing is selected).
    // A view that copies something else handles the command itself.
    virtual bool CanCopyText() const { return false; }
    virtual std::string CopyText() const { return {}; }
    // The commands of the window's context menu, 0 for a separator; the main frame shows it.
    virtual std::vector<int> ContextCommands() const { return {}; }
    // F1 in this window: its help context.
    virtual int HelpContext() const = 0;
};

} // namespace lumetra

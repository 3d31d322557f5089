#pragma once

#include <vector>

class QMenu;
class QPoint;
class QWidget;

namespace lumetra {

class CMainFrame;

// A context menu of the main frame's own commands (0 is a separator), so it shows the same
// texts, keys and enabled states as the menu bar and its choices are routed the same way.
QMenu* MakeCommandMenu(CMainFrame& frame, const std::vector<int>& ids, QWidget* parent);

// Shows such a menu at a point of the screen and runs the command chosen.
void ShowCommandMenu(CMainFrame& frame, const std::vector<int>& ids, QWidget* parent,
                     const QPoint& globalPos);

} // namespace lumetra

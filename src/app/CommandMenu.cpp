#include "app/CommandMenu.h"

#include "app/MainFrame.h"

#include <QMenu>

namespace lumetra {

QMenu* MakeCommandMenu(CMainFrame& frame, const std::vector<int>& ids, QWidget* parent) {
    frame.UpdateCommandUI();
    auto* menu = new QMenu(parent);
    for (int id : ids) {
        if (id == 0)
            menu->addSeparator();
        else if (QAction* action = frame.Action(id))
            menu->addAction(action);
    }
    return menu;
}

void ShowCommandMenu(CMainFrame& frame, const std::vector<int>& ids, QWidget* parent,
                     const QPoint& globalPos) {
    QMenu* menu = MakeCommandMenu(frame, ids, parent);
    menu->exec(globalPos);
    delete menu;
}

} // namespace lumetra

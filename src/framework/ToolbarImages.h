#pragma once

#include <QIcon>
#include <QPixmap>

namespace lumetra {

// The toolbar button image of a command, 16 x 15 pixels; a null pixmap for a command without one.
QPixmap ToolbarImage(int commandId);

// The program's icon at 16, 32 and 48 pixels: a small plot of points with their fitted curve.
QIcon ApplicationIcon();

// The icon of a Lumetra data file: a page holding a small plot.
QIcon DocumentIcon();

// The two icons drawn at any size, for the desktop's icon theme.
QPixmap ApplicationIconImage(int size);
QPixmap DocumentIconImage(int size);

} // namespace lumetra

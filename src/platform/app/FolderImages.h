#pragma once

#include <QIcon>
#include <QPixmap>

namespace quorvel {

// The database folder images of the login chooser: a yellow folder with a blue curved arrow,
// closed or opened, 16 x 16 with a transparent background. Drawn rather than loaded, so they
// stay sharp on any screen.
enum class FolderState { Closed, Open };

QPixmap folderImage(FolderState state, qreal devicePixelRatio = 1.0);

// Both pixel ratios the program meets (1 and 2), so that a view picks the sharp one.
QIcon folderIcon(FolderState state);

} // namespace quorvel

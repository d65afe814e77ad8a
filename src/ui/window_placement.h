#pragma once
// Where the program's windows appear: centred on the screen, centred on
// another window, or at the top left of the screen, and in front. A window is
// always placed wholly inside the available area of its screen where it fits,
// and else at the area's top left, so that its title bar and tool bar stay in
// reach. The sizes are frame sizes, so a window placed before it was first
// shown still lands centred.

#include <QSize>

class QWidget;

namespace tavilo::ui {

void centreOnScreen(QWidget& window);
// Centred on `owner`'s frame; on the screen when there is no owner.
void centreOn(QWidget& window, const QWidget* owner);
void placeAtScreenTopLeft(QWidget& window);
// Raises a shown window above the others and, when `activate`, gives it the
// input.
void bringToFront(QWidget& window, bool activate = true);

// The client size a window of `preferred` size takes on its screen: the
// preferred size where it fits in the available area with the window's
// frame, else as much of it as fits.
QSize clientSizeOnScreen(const QWidget& window, QSize preferred);

}  // namespace tavilo::ui

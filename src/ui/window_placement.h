#pragma once
// Where the program's windows appear: centred on the screen, centred on
// another window, or at the top left of the screen, and in front. The sizes are frame
// sizes, so a window placed before it was first shown still lands centred.

class QWidget;

namespace tavilo::ui {

void centreOnScreen(QWidget& window);
// Centred on `owner`'s frame; on the screen when there is no owner.
void centreOn(QWidget& window, const QWidget* owner);
void placeAtScreenTopLeft(QWidget& window);
// Raises a shown window above the others and, when `activate`, gives it the
// input.
void bringToFront(QWidget& window, bool activate = true);

}  // namespace tavilo::ui

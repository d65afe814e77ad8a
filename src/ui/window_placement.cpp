#include "ui/window_placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

namespace tavilo::ui {
namespace {

QRect availableArea(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr)
    screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

// The frame size: before the first show the window system has not reported
// the frame yet, and the client size stands in for it.
QSize frameSizeOf(const QWidget& window) {
  const QSize frame = window.frameGeometry().size();
  return frame.isValid() && frame.width() >= window.width() ? frame : window.size();
}

void centreIn(QWidget& window, const QRect& area) {
  if (area.isEmpty())
    return;
  const QSize frame = frameSizeOf(window);
  window.move(area.center() - QPoint(frame.width() / 2, frame.height() / 2));
}

}  // namespace

void centreOnScreen(QWidget& window) {
  centreIn(window, availableArea(window));
}

void centreOn(QWidget& window, const QWidget* owner) {
  if (owner == nullptr || !owner->isVisible()) {
    centreOnScreen(window);
    return;
  }
  centreIn(window, owner->frameGeometry());
}

void placeAtScreenTopLeft(QWidget& window) {
  const QRect area = availableArea(window);
  if (!area.isEmpty())
    window.move(area.topLeft());
}

void bringToFront(QWidget& window, bool activate) {
  // Windows of the offscreen platform (the tests) have no stacking order.
  if (QGuiApplication::platformName() != QLatin1String("offscreen"))
    window.raise();
  if (activate)
    window.activateWindow();
}

}  // namespace tavilo::ui

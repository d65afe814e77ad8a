#include "ui/window_placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace tavilo::ui {
namespace {

QRect availableArea(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (screen == nullptr)
    screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

// What the frame adds to the client size. Before the window is first shown
// the window system has reported no frame yet; a title bar and borders of
// the style's size stand in for it (none for a frameless panel).
QSize frameExtra(const QWidget& window) {
  const QSize frame = window.frameGeometry().size();
  const QSize extra = frame - window.size();
  if (window.testAttribute(Qt::WA_WState_Visible) || extra.width() > 0 || extra.height() > 0)
    return extra.expandedTo(QSize(0, 0));
  if (window.windowFlags().testFlag(Qt::FramelessWindowHint))
    return {0, 0};
  // Desktop title bars are about 30 pixels high, often more than the
  // style's own.
  constexpr int kCommonTitleBar = 30;
  const QStyle* style = window.style();
  const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, &window);
  const int title =
      std::max(kCommonTitleBar, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window));
  return {2 * border, title + 2 * border};
}

QSize frameSizeOf(const QWidget& window) {
  return window.size() + frameExtra(window);
}

// Moves the window's frame to `topLeft`, or as near to it as keeps the frame
// inside the area; a frame larger than the area keeps to its top left.
void placeWithin(QWidget& window, QPoint topLeft, const QRect& area) {
  if (area.isEmpty()) {
    window.move(topLeft);
    return;
  }
  const QSize frame = frameSizeOf(window);
  const int x = std::max(area.left(), std::min(topLeft.x(), area.right() + 1 - frame.width()));
  const int y = std::max(area.top(), std::min(topLeft.y(), area.bottom() + 1 - frame.height()));
  window.move(x, y);
}

void centreIn(QWidget& window, const QRect& target, const QRect& area) {
  if (target.isEmpty())
    return;
  const QSize frame = frameSizeOf(window);
  placeWithin(window, target.center() - QPoint(frame.width() / 2, frame.height() / 2), area);
}

}  // namespace

void centreOnScreen(QWidget& window) {
  const QRect area = availableArea(window);
  centreIn(window, area, area);
}

void centreOn(QWidget& window, const QWidget* owner) {
  if (owner == nullptr || !owner->isVisible()) {
    centreOnScreen(window);
    return;
  }
  centreIn(window, owner->frameGeometry(), availableArea(*owner));
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

QSize clientSizeOnScreen(const QWidget& window, QSize preferred) {
  const QRect area = availableArea(window);
  if (area.isEmpty())
    return preferred;
  const QSize room = area.size() - frameExtra(window);
  return preferred.boundedTo(room.expandedTo(QSize(1, 1)));
}

}  // namespace tavilo::ui

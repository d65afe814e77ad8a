#include "ui/ui_support.h"

#include <QMessageBox>
#include <utility>

namespace tavilo::ui {

namespace {

MessagePresenter& presenter() {
  static MessagePresenter current;
  return current;
}

}  // namespace

void showMessage(QWidget* parent, const QString& text) {
  if (presenter()) {
    presenter()(parent, text);
    return;
  }
  QMessageBox box(QMessageBox::NoIcon, qs(kApplicationTitle), text, QMessageBox::Ok, parent);
  box.exec();
}

MessagePresenter setMessagePresenter(MessagePresenter next) {
  MessagePresenter previous = std::move(presenter());
  presenter() = std::move(next);
  return previous;
}

QFont windowFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

}  // namespace tavilo::ui

#include "ui/ui_support.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <algorithm>
#include <utility>

#include "report/qt/qt_path.h"

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

void showLineText(QLineEdit& edit, const QString& text) {
  if (edit.text() == text)
    return;
  const int cursor = edit.cursorPosition();
  const int lengthBefore = static_cast<int>(edit.text().size());
  edit.setText(text);
  const int shift = static_cast<int>(text.size()) - lengthBefore;
  edit.setCursorPosition(std::clamp(cursor + std::min(shift, 0), 0, static_cast<int>(text.size())));
}

std::optional<std::filesystem::path> chooseFileToSave(QWidget* parent, const QString& caption,
                                                      const std::filesystem::path& proposal,
                                                      const QString& filters,
                                                      const QString& suffix) {
  QFileDialog dialog(parent, caption, qStringFromPath(proposal.parent_path()), filters);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  dialog.selectFile(qStringFromPath(proposal.filename()));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return pathFromQString(dialog.selectedFiles().front());
}

QFont windowFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("IPAPGothic"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

}  // namespace tavilo::ui

#include "ui/ui_support.h"

#include <QEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
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

namespace {

class TypedKeyFilter : public QObject {
 public:
  TypedKeyFilter(QObject* parent, std::function<bool(char32_t)> accepts)
      : QObject(parent), accepts_(std::move(accepts)) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() != QEvent::KeyPress)
      return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
      return false;
    for (const char32_t c : key->text().toUcs4()) {
      if (c < 0x20 || c == 0x7F)
        return false;
      if (!accepts_(c))
        return true;
    }
    return false;
  }

 private:
  std::function<bool(char32_t)> accepts_;
};

}  // namespace

void filterTypedKeys(QWidget& field, std::function<bool(char32_t)> accepts) {
  field.installEventFilter(new TypedKeyFilter(&field, std::move(accepts)));
}

std::unique_ptr<QTranslator> qtTranslator(const QLocale& locale) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    return nullptr;
  return translator;
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

#pragma once
// What every window of the desktop program shares: text conversion between
// the models (UTF-8) and Qt, the program's message box, colours and fonts.

#include <QColor>
#include <QFont>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "model/program_texts.h"

class QLineEdit;
class QLocale;
class QTranslator;
class QWidget;

namespace tavilo::ui {

inline QString qs(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string utf8(const QString& text) {
  return text.toStdString();
}

// The application title, shown on message boxes.

// A plain modal message box with an OK button, as every message of the
// program is shown.
void showMessage(QWidget* parent, const QString& text);

// Where showMessage sends its text: a message box unless replaced. The window
// tests replace it to read the messages instead of answering modal boxes.
using MessagePresenter = std::function<void(QWidget* parent, const QString& text)>;
// Installs `presenter` (an empty one restores the message box) and returns
// the one it replaces.
MessagePresenter setMessagePresenter(MessagePresenter presenter);

// Shows a model's text in a line edit, keeping the cursor where the user left
// it; a character the model refused leaves it where it was before the key.
void showLineText(QLineEdit& edit, const QString& text);

// The key filter of a field: a typed character that `accepts` refuses is
// discarded before the field sees it, so that it neither replaces a selection
// nor moves the cursor. Keys without a printable character (arrows, Tab,
// backspace, Enter, shortcuts) pass to the field.
void filterTypedKeys(QWidget& field, std::function<bool(char32_t)> accepts);

// Qt's own translation ("qtbase") for a language, so that the file dialogs,
// the overwrite question, the print dialog and the preview speak it; nothing
// when Qt has none for it (English needs none) or it is not installed.
std::unique_ptr<QTranslator> qtTranslator(const QLocale& locale);

// The platform's save dialog starting at `proposal` (folder and file name):
// a name typed without an extension receives `suffix` before the dialog asks
// about overwriting, so that the question names the file written. Nothing
// when the user cancels.
std::optional<std::filesystem::path> chooseFileToSave(QWidget* parent, const QString& caption,
                                                      const std::filesystem::path& proposal,
                                                      const QString& filters,
                                                      const QString& suffix);

inline const QColor kScreenBlue{0, 102, 153};     // ground of the input screen, the splash
inline const QColor kNavy{0, 0, 128};             // chosen item of a choice group
inline const QColor kCaptionGrey{153, 153, 153};  // heavy-snow label when not ticked

// The face of the windows: the proportional Japanese Gothic, 12 pixels high.
QFont windowFont(int pixelSize = 12, bool bold = false);

}  // namespace tavilo::ui

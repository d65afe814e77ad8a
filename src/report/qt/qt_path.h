#pragma once
// The one crossing between QString and std::filesystem::path, through UTF-8
// on every system (QString::toStdString and fromStdString are UTF-8).

#include <QString>
#include <filesystem>

#include "platform/utf8_path.h"

namespace tavilo {

inline QString qStringFromPath(const std::filesystem::path& path) {
  return QString::fromStdString(utf8FromPath(path));
}

inline std::filesystem::path pathFromQString(const QString& text) {
  return pathFromUtf8(text.toStdString());
}

}  // namespace tavilo

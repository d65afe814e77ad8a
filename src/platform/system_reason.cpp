#include "platform/system_reason.h"

#include <algorithm>
#include <cerrno>
#include <new>
#include <stdexcept>
#include <string_view>
#include <system_error>

namespace tavilo {

std::string systemReasonText(int error) {
  switch (error) {
    case ENOENT:
      return "ファイルまたはフォルダが見つかりません";
    case EACCES:
    case EPERM:
      return "アクセス権がありません";
    case EROFS:
      return "読み取り専用の場所です";
    case ENOSPC:
      return "ディスクの空き容量が足りません";
#ifdef EDQUOT
    case EDQUOT:
      return "ディスク使用量の上限を超えました";
#endif
    case EFBIG:
      return "ファイルの大きさが上限を超えました";
    case EISDIR:
      return "フォルダです（ファイル名を指定して下さい）";
    case ENOTDIR:
      return "途中のフォルダ名がフォルダではありません";
    case ENAMETOOLONG:
      return "ファイル名が長すぎます";
#ifdef ELOOP
    case ELOOP:
      return "シンボリックリンクが循環しています";
#endif
    case EEXIST:
      return "同じ名前のファイルが既にあります";
    case EBUSY:
#ifdef ETXTBSY
    case ETXTBSY:
#endif
      return "ファイルが使用中です";
    case EMFILE:
    case ENFILE:
      return "開いているファイルが多すぎます";
    case EXDEV:
      return "別のドライブへは移動できません";
    case EIO:
      return "読み書き中に装置のエラーが発生しました";
    case ENOMEM:
      return "メモリが足りません";
    case EINVAL:
      return "この場所には書き込めません";
    default:
      return "システムエラー（番号 " + std::to_string(error) + "）";
  }
}

std::string internalErrorText(const std::exception& error) {
  if (dynamic_cast<const std::bad_alloc*>(&error) != nullptr)
    return "メモリが足りません。";
  if (dynamic_cast<const std::length_error*>(&error) != nullptr)
    return "データが大きすぎて扱えません。";
  if (const auto* system = dynamic_cast<const std::system_error*>(&error)) {
    const std::error_category& category = system->code().category();
    if (category == std::generic_category() || category == std::system_category())
      return systemReasonText(system->code().value()) + "。";
  }
  // The program's own errors speak Japanese; a library's English text says
  // what went wrong inside it, which tells the user nothing.
  const std::string_view text = error.what();
  const bool ownWords = std::any_of(text.begin(), text.end(),
                                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
  return ownWords ? std::string(text)
                  : std::string("プログラム内部で予期しないエラーが起きました。");
}

}  // namespace tavilo

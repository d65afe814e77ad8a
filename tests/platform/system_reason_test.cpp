// What the user reads when a command fails inside: never a C++ exception
// type or a library's English text.

#include "platform/system_reason.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <ios>
#include <new>
#include <stdexcept>
#include <system_error>

namespace tavilo {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

TEST(InternalErrorText, NamesNoExceptionTypeAndNoLibraryEnglish) {
  EXPECT_EQ(internalErrorText(std::bad_alloc()), "メモリが足りません。");
  EXPECT_THAT(internalErrorText(std::length_error("vector::_M_realloc_insert")),
              Not(HasSubstr("vector")));
  EXPECT_EQ(internalErrorText(std::filesystem::filesystem_error(
                "cannot copy", std::make_error_code(std::errc::no_space_on_device))),
            "ディスクの空き容量が足りません。");
  // A stream's error code is no errno; its text is English.
  const std::string unexpected = "プログラム内部で予期しないエラーが起きました。";
  EXPECT_EQ(internalErrorText(std::ios_base::failure("basic_ios::clear")), unexpected);
  EXPECT_EQ(internalErrorText(std::out_of_range("basic_string::at: __n (which is 9)")), unexpected);
  EXPECT_EQ(internalErrorText(std::runtime_error("計算結果がありません。")),
            "計算結果がありません。");
}

}  // namespace
}  // namespace tavilo

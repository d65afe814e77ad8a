// The address the Windows launcher opens: the page's file as a file: URL and
// the project in its fragment, which the page decodes back to the very bytes.

#include "page_url.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavilo::launcher {
namespace {

std::vector<unsigned char> bytesOf(std::string_view text) {
  return {text.begin(), text.end()};
}

TEST(PageUrl, Base64UrlCoversEveryRemainderAndTheUrlSafeAlphabet) {
  EXPECT_EQ(base64Url(bytesOf("")), "");
  EXPECT_EQ(base64Url(bytesOf("f")), "Zg");
  EXPECT_EQ(base64Url(bytesOf("fo")), "Zm8");
  EXPECT_EQ(base64Url(bytesOf("foo")), "Zm9v");
  EXPECT_EQ(base64Url(bytesOf("foob")), "Zm9vYg");
  // 0xFB 0xFF 0xBF: "+/+/" in plain base64.
  EXPECT_EQ(base64Url(std::vector<unsigned char>{0xFB, 0xFF, 0xBF}), "-_-_");
}

TEST(PageUrl, FileUrlOfLocalFoldersSharesAndJapaneseNames) {
  EXPECT_EQ(fileUrl("C:\\Program Files\\Tavilo\\tavilo.html"),
            "file:///C:/Program%20Files/Tavilo/tavilo.html");
  EXPECT_EQ(fileUrl("\\\\server\\共有\\tavilo.html"),
            "file://server/%E5%85%B1%E6%9C%89/tavilo.html");
  EXPECT_EQ(fileUrl("D:\\a#b%c\\tavilo.html"), "file:///D:/a%23b%25c/tavilo.html");
}

TEST(PageUrl, ProjectInTheFragmentOrAMarkerWhenItCannotBeCarried) {
  const std::string page = "file:///C:/T/tavilo.html";
  const auto project = bytesOf("[Version]\r\n\x8c\x9a\r\n");
  EXPECT_EQ(pageUrlWithProject(page, "屋根 1.tvl", project, ProjectState::Read),
            page + "#project=" + base64Url(project) + "&name=%E5%B1%8B%E6%A0%B9%201.tvl");
  EXPECT_EQ(pageUrlWithProject(page, "a.tvl", {}, ProjectState::Unreadable),
            page + "#project-unreadable&name=a.tvl");
  EXPECT_EQ(pageUrlWithProject(page, "a.tvl", {}, ProjectState::TooLarge),
            page + "#project-too-large&name=a.tvl");
  // Just past what a command line carries.
  const std::vector<unsigned char> large(kMaxPageUrlLength * 3 / 4, 'x');
  EXPECT_EQ(pageUrlWithProject(page, "a.tvl", large, ProjectState::Read),
            page + "#project-too-large&name=a.tvl");
  const std::vector<unsigned char> fits(20000, 'x');
  EXPECT_LE(pageUrlWithProject(page, "a.tvl", fits, ProjectState::Read).size(), kMaxPageUrlLength);
}

}  // namespace
}  // namespace tavilo::launcher

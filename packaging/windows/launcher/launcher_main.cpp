// tavilo.exe: opens the offline page beside it in an app window of Edge, else
// Chrome, else the default browser. Started on a project file (a double
// click on a .tvl), it hands the file to the page in the address's fragment.
// A Windows GUI program without a console; everything of Win32 stays here.

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// After windows.h, which they need.
#include <shellapi.h>
#include <shlwapi.h>

#include <optional>
#include <string>
#include <vector>

#include "page_url.h"

namespace {

using tavilo::launcher::ProjectState;

constexpr wchar_t kTitle[] = L"Tavilo屋根計算プログラム";
constexpr wchar_t kPageName[] = L"tavilo.html";

std::string utf8(const std::wstring& text) {
  if (text.empty())
    return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                      nullptr, nullptr);
  return out;
}

std::wstring wide(const std::string& text) {
  if (text.empty())
    return {};
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

void tell(const std::wstring& message) {
  MessageBoxW(nullptr, message.c_str(), kTitle, MB_OK | MB_ICONEXCLAMATION);
}

std::wstring ownPath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring folderOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

std::wstring nameOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool isFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// The project's bytes; nothing when it cannot be read, an empty vector with
// `tooLarge` set when it is larger than an address can carry.
std::optional<std::vector<unsigned char>> readProject(const std::wstring& path, bool& tooLarge) {
  tooLarge = false;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return std::nullopt;
  std::optional<std::vector<unsigned char>> bytes;
  LARGE_INTEGER size{};
  if (GetFileSizeEx(file, &size) && size.QuadPart >= 0) {
    if (static_cast<unsigned long long>(size.QuadPart) > tavilo::launcher::kMaxPageUrlLength) {
      tooLarge = true;
      bytes.emplace();
    } else {
      std::vector<unsigned char> buffer(static_cast<std::size_t>(size.QuadPart));
      DWORD read = 0;
      if (buffer.empty() ||
          (ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) &&
           read == buffer.size())) {
        bytes = std::move(buffer);
      }
    }
  }
  CloseHandle(file);
  return bytes;
}

// The browser registered under App Paths (per machine, then per user).
std::optional<std::wstring> registeredProgram(const wchar_t* exe) {
  const std::wstring key =
      std::wstring(L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\") + exe;
  for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
    wchar_t value[MAX_PATH * 2]{};
    DWORD bytes = sizeof(value);
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes) ==
        ERROR_SUCCESS) {
      std::wstring path(value);
      if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') {
        path = path.substr(1, path.size() - 2);
      }
      if (isFile(path))
        return path;
    }
  }
  return std::nullopt;
}

// The program that opens web addresses for this user.
std::optional<std::wstring> defaultBrowser() {
  wchar_t value[MAX_PATH * 2]{};
  DWORD length = MAX_PATH * 2;
  if (AssocQueryStringW(ASSOCF_IS_PROTOCOL, ASSOCSTR_EXECUTABLE, L"https", L"open", value,
                        &length) == S_OK &&
      isFile(value)) {
    return std::wstring(value);
  }
  return std::nullopt;
}

bool start(const std::wstring& program, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + program + L"\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

// The page in an app window of Edge or Chrome, else in the default browser.
bool openPage(const std::wstring& url) {
  for (const wchar_t* exe : {L"msedge.exe", L"chrome.exe"}) {
    if (const auto browser = registeredProgram(exe)) {
      if (start(*browser, L"--app=" + url))
        return true;
    }
  }
  if (const auto browser = defaultBrowser()) {
    if (start(*browser, L"\"" + url + L"\""))
      return true;
  }
  return reinterpret_cast<INT_PTR>(
             ShellExecuteW(nullptr, L"open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

int run() {
  const std::wstring page = folderOf(ownPath()) + L"\\" + kPageName;
  if (!isFile(page)) {
    tell(L"ページ「" + page + L"」が見つかりません。Tavilo を入れ直して下さい。");
    return 1;
  }
  std::string url = tavilo::launcher::fileUrl(utf8(page));

  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments != nullptr && count >= 2) {
    const std::wstring project = arguments[1];
    bool tooLarge = false;
    const auto bytes = readProject(project, tooLarge);
    const ProjectState state = !bytes     ? ProjectState::Unreadable
                               : tooLarge ? ProjectState::TooLarge
                                          : ProjectState::Read;
    url = tavilo::launcher::pageUrlWithProject(
        url, utf8(nameOf(project)), bytes ? *bytes : std::vector<unsigned char>{}, state);
  }
  LocalFree(arguments);

  if (!openPage(wide(url))) {
    tell(L"ブラウザを起動できませんでした。「" + page +
         L"」を Edge、Chrome または Firefox で開いて下さい。");
    return 1;
  }
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  return run();
}

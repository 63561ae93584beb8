#include "env/system_names.h"

#include <cstring>

#include "env/handles.h"
#include "env/unicode.h"

namespace {
template <typename Result>
Result Refused(Result result) {
  SetLastError(ERROR_INVALID_NAME);
  return result;
}

// A name the system filled into a buffer of MAX_PATH letters.
template <typename WideCall, typename AnsiCall>
std::string SystemText(WideCall wide, AnsiCall ansi) {
  if (WideSystem()) {
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = wide(buffer, MAX_PATH);
    return length && length <= MAX_PATH ? FromWide(buffer, length) : std::string();
  }
  char buffer[MAX_PATH + 1] = {};
  const DWORD length = ansi(buffer, MAX_PATH);
  return length && length <= MAX_PATH ? FromSystemCodePage(buffer) : std::string();
}
}  // namespace

// The 95 family's wide functions are stubs, so the platform decides (the high bit of the version).
// Asked each time: it is read from memory, and it is asked before static objects are built.
bool WideSystem() { return static_cast<int>(GetVersion()) >= 0; }

std::wstring Wide(std::string_view utf8) {
  const std::u16string text = Utf16FromUtf8(utf8);
  return std::wstring(text.begin(), text.end());
}

std::string FromWide(const wchar_t* text, size_t length) {
  return Utf8FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}

std::string FromWide(const wchar_t* text) { return FromWide(text, static_cast<size_t>(lstrlenW(text))); }

bool ToCodePage(UINT codePage, std::string_view utf8, std::string& bytes) {
  const std::wstring wide = Wide(utf8);
  const int length = static_cast<int>(wide.size());
  bytes.assign(static_cast<size_t>(length) * 2, '\0');
  bytes.resize(static_cast<size_t>(WideCharToMultiByte(codePage, 0, wide.data(), length, bytes.data(),
                                                       static_cast<int>(bytes.size()), nullptr, nullptr)));
  // A best-fit letter ("L" for "Ł") would name another file: only a round trip is whole.
  std::wstring back(wide.size(), L'\0');
  back.resize(static_cast<size_t>(
      MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), back.data(), length)));
  return back == wide;
}

bool ToSystemCodePage(std::string_view utf8, std::string& ansi) { return ToCodePage(CP_ACP, utf8, ansi); }

SystemName::SystemName(std::string_view utf8) {
  if (WideSystem())
    wide = Wide(utf8);
  else
    whole = ToSystemCodePage(utf8, ansi);
}

std::string FromSystemCodePage(const char* text) {
  const int length = static_cast<int>(std::strlen(text));
  std::wstring wide(static_cast<size_t>(length), L'\0');
  wide.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text, length, wide.data(), length)));
  return FromWide(wide.data(), wide.size());
}

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (WideSystem()) return lstrcmpiW(Wide(a).c_str(), Wide(b).c_str()) == 0;
  std::string x, y;
  return ToSystemCodePage(a, x) && ToSystemCodePage(b, y) && lstrcmpiA(x.c_str(), y.c_str()) == 0;
}

HANDLE CreateFileNamed(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags) {
  if (WideSystem()) return CreateFileW(Wide(path).c_str(), access, share, nullptr, disposition, flags, nullptr);
  std::string ansi;
  if (!ToSystemCodePage(path, ansi)) return Refused(INVALID_HANDLE_VALUE);
  return CreateFileA(ansi.c_str(), access, share, nullptr, disposition, flags, nullptr);
}

DWORD FileAttributes(const std::string& path) {
  if (WideSystem()) return GetFileAttributesW(Wide(path).c_str());
  std::string ansi;
  return ToSystemCodePage(path, ansi) ? GetFileAttributesA(ansi.c_str()) : Refused(INVALID_FILE_ATTRIBUTES);
}

bool SetFileAttributesNamed(const std::string& path, DWORD attributes) {
  if (WideSystem()) return SetFileAttributesW(Wide(path).c_str(), attributes);
  std::string ansi;
  return ToSystemCodePage(path, ansi) ? SetFileAttributesA(ansi.c_str(), attributes) : Refused(false);
}

bool DeleteFileNamed(const std::string& path) {
  if (WideSystem()) return DeleteFileW(Wide(path).c_str());
  std::string ansi;
  return ToSystemCodePage(path, ansi) ? DeleteFileA(ansi.c_str()) : Refused(false);
}

bool MoveFileNamed(const std::string& from, const std::string& to) {
  if (WideSystem()) return MoveFileW(Wide(from).c_str(), Wide(to).c_str());
  std::string a, b;
  return ToSystemCodePage(from, a) && ToSystemCodePage(to, b) ? MoveFileA(a.c_str(), b.c_str()) : Refused(false);
}

bool MoveFileExNamed(const std::string& from, const std::string& to, DWORD flags) {
  if (WideSystem()) return MoveFileExW(Wide(from).c_str(), to.empty() ? nullptr : Wide(to).c_str(), flags);
  std::string a, b;
  if (!ToSystemCodePage(from, a) || !ToSystemCodePage(to, b)) return Refused(false);
  return MoveFileExA(a.c_str(), to.empty() ? nullptr : b.c_str(), flags);
}

bool CreateHardLinkNamed(const std::string& link, const std::string& existing) {
  if (!WideSystem()) return false;
  using Create = BOOL(WINAPI*)(LPCWSTR, LPCWSTR, LPSECURITY_ATTRIBUTES);
  const auto create = reinterpret_cast<Create>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateHardLinkW")));
  return create && create(Wide(link).c_str(), Wide(existing).c_str(), nullptr);
}

bool CopyFileNamed(const std::string& from, const std::string& to, bool failIfExists) {
  if (WideSystem()) return CopyFileW(Wide(from).c_str(), Wide(to).c_str(), failIfExists);
  std::string a, b;
  return ToSystemCodePage(from, a) && ToSystemCodePage(to, b) ? CopyFileA(a.c_str(), b.c_str(), failIfExists)
                                                              : Refused(false);
}

bool CreateDirectoryNamed(const std::string& path) {
  if (WideSystem()) return CreateDirectoryW(Wide(path).c_str(), nullptr);
  std::string ansi;
  return ToSystemCodePage(path, ansi) ? CreateDirectoryA(ansi.c_str(), nullptr) : Refused(false);
}

bool RemoveDirectoryNamed(const std::string& path) {
  if (WideSystem()) return RemoveDirectoryW(Wide(path).c_str());
  std::string ansi;
  return ToSystemCodePage(path, ansi) ? RemoveDirectoryA(ansi.c_str()) : Refused(false);
}

bool SetCurrentDirectoryNamed(const std::string& path) {
  if (WideSystem()) return SetCurrentDirectoryW(Wide(path).c_str());
  std::string ansi;
  return ToSystemCodePage(path, ansi) ? SetCurrentDirectoryA(ansi.c_str()) : Refused(false);
}

std::string TempFileNamed(const std::string& dir, const char* prefix) {
  if (WideSystem()) {
    wchar_t name[MAX_PATH + 1] = {};
    return GetTempFileNameW(Wide(dir).c_str(), Wide(prefix).c_str(), 0, name) ? FromWide(name) : std::string();
  }
  std::string ansi;
  char name[MAX_PATH + 1] = {};
  if (!ToSystemCodePage(dir, ansi)) return Refused(std::string());
  return GetTempFileNameA(ansi.c_str(), prefix, 0, name) ? FromSystemCodePage(name) : std::string();
}

std::string ShortPathNamed(const std::string& path) {
  std::string ansi;
  if (!WideSystem() && !ToSystemCodePage(path, ansi)) return path;
  const std::wstring wide = WideSystem() ? Wide(path) : std::wstring();
  const std::string shortName = SystemText([&](wchar_t* b, DWORD n) { return GetShortPathNameW(wide.c_str(), b, n); },
                                           [&](char* b, DWORD n) { return GetShortPathNameA(ansi.c_str(), b, n); });
  return shortName.empty() ? path : shortName;
}

std::vector<FoundFile> FindFiles(const std::string& pattern) {
  std::vector<FoundFile> found;
  if (WideSystem()) {
    WIN32_FIND_DATAW data;
    const FindHandle search(FindFirstFileW(Wide(pattern).c_str(), &data));
    for (bool more = search.Valid(); more; more = FindNextFileW(search.Get(), &data))
      found.push_back({FromWide(data.cFileName), data.dwFileAttributes,
                       (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
    return found;
  }
  std::string ansi;
  if (!ToSystemCodePage(pattern, ansi)) return found;
  WIN32_FIND_DATAA data;
  const FindHandle search(FindFirstFileA(ansi.c_str(), &data));
  for (bool more = search.Valid(); more; more = FindNextFileA(search.Get(), &data))
    found.push_back({FromSystemCodePage(data.cFileName), data.dwFileAttributes,
                     (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
  return found;
}

std::string ModuleFileName() {
  return SystemText([](wchar_t* b, DWORD n) { return GetModuleFileNameW(nullptr, b, n); },
                    [](char* b, DWORD n) { return GetModuleFileNameA(nullptr, b, n); });
}

std::string CommandLineText() {
  return WideSystem() ? FromWide(GetCommandLineW()) : FromSystemCodePage(GetCommandLineA());
}

std::string WindowsDirectory() {
  return SystemText([](wchar_t* b, DWORD n) { return GetWindowsDirectoryW(b, n); },
                    [](char* b, DWORD n) { return GetWindowsDirectoryA(b, n); });
}

std::string SystemDirectory() {
  return SystemText([](wchar_t* b, DWORD n) { return GetSystemDirectoryW(b, n); },
                    [](char* b, DWORD n) { return GetSystemDirectoryA(b, n); });
}

std::string TempDirectory() {
  return SystemText([](wchar_t* b, DWORD n) { return GetTempPathW(n, b); },
                    [](char* b, DWORD n) { return GetTempPathA(n, b); });
}

std::string UserName() {
  return SystemText([](wchar_t* b, DWORD n) { return GetUserNameW(b, &n) ? n - 1 : 0; },
                    [](char* b, DWORD n) { return GetUserNameA(b, &n) ? n - 1 : 0; });
}

std::string ComputerName() {
  return SystemText([](wchar_t* b, DWORD n) { return GetComputerNameW(b, &n) ? n : 0; },
                    [](char* b, DWORD n) { return GetComputerNameA(b, &n) ? n : 0; });
}

std::string NameForBatch(const std::string& path) {
  std::string oem;
  if (ToCodePage(CP_OEMCP, path, oem)) return path;
  const std::string shortName = ShortPathNamed(path);
  return ToCodePage(CP_OEMCP, shortName, oem) ? shortName : path;
}

std::string BatchFileBytes(const std::string& text) {
  std::string oem;
  if (ToCodePage(CP_OEMCP, text, oem) || !WideSystem()) return oem;
  return "chcp 65001 >nul\r\n" + text;
}

bool StartHidden(const std::string& commandLine) {
  if (!WideSystem()) {
    std::string ansi;
    return ToSystemCodePage(commandLine, ansi) && WinExec(ansi.c_str(), SW_HIDE) > 31;
  }
  std::wstring line = Wide(commandLine);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return false;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

void NotifyFolderChanged(const std::string& folder) {
  if (WideSystem()) {
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHW | SHCNF_FLUSH, Wide(folder).c_str(), nullptr);
    return;
  }
  std::string ansi;
  if (ToSystemCodePage(folder, ansi)) SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_PATHA | SHCNF_FLUSH, ansi.c_str(), nullptr);
}

void OpenWithShell(HWND owner, const std::string& file, const std::string& folder, int show) {
  if (WideSystem()) {
    ShellExecuteW(owner, L"open", Wide(file).c_str(), L"", Wide(folder).c_str(), show);
    return;
  }
  std::string a, b;
  if (ToSystemCodePage(file, a) && ToSystemCodePage(folder, b))
    ShellExecuteA(owner, "open", a.c_str(), "", b.c_str(), show);
}

std::string PathFromIdList(const void* idList) {
  const auto list = static_cast<LPCITEMIDLIST>(idList);
  return SystemText(
      [&](wchar_t* b, DWORD) { return SHGetPathFromIDListW(list, b) ? lstrlenW(b) : 0; },
      [&](char* b, DWORD) { return SHGetPathFromIDListA(list, b) ? static_cast<int>(std::strlen(b)) : 0; });
}

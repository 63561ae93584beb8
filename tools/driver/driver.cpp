#include "tools/driver/driver.h"

#include <shlobj.h>

#include <commctrl.h>

#include <cstdlib>

#include "env/handles.h"
#include "env/ini_file.h"
#include "env/system_names.h"
#include "ui/control_name.h"

namespace {
struct WindowSearch {
  DWORD pid;
  bool all;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid == search->pid && (search->all || IsWindowVisible(hwnd))) search->found.push_back(hwnd);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}
}  // namespace

Program StartProgram(const std::string& exe, const std::string& arguments) {
  std::wstring commandLine = Wide("\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments));
  const std::string dir = exe.substr(0, exe.find_last_of('\\'));
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  Program program;
  if (!CreateProcessW(Wide(exe).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, Wide(dir).c_str(),
                      &si, &pi))
    return program;
  CloseHandle(pi.hThread);
  program.process.Reset(pi.hProcess);
  program.pid = pi.dwProcessId;
  return program;
}

DWORD Patience(DWORD timeoutMs) {
  static const DWORD slowness = [] {
    char text[16] = "";
    GetEnvironmentVariableA("SETUP_TEST_SLOWNESS", text, sizeof text);
    const unsigned long factor = strtoul(text, nullptr, 10);
    return factor >= 1 && factor <= 100 ? static_cast<DWORD>(factor) : 1;
  }();
  return timeoutMs >= INFINITE / slowness ? INFINITE : timeoutMs * slowness;
}

bool WaitForExit(const Program& program, DWORD timeoutMs, DWORD& code) {
  if (!program.process || WaitForSingleObject(program.process.Get(), Patience(timeoutMs)) != WAIT_OBJECT_0)
    return false;
  GetExitCodeProcess(program.process.Get(), &code);
  return true;
}

Program::~Program() {
  if (process && WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) Kill(*this);
}

void Kill(const Program& program) {
  if (program.process) {
    TerminateProcess(program.process.Get(), 99);
    WaitForSingleObject(program.process.Get(), 5000);
  }
}

std::vector<HWND> TopWindows(DWORD pid, bool all) {
  WindowSearch search{pid, all, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND WaitForWindow(DWORD pid, const std::string& nameOrClass, DWORD timeoutMs) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        for (HWND w : TopWindows(pid))
          if (ControlName(w) == nameOrClass || WindowClass(w) == nameOrClass) found = w;
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

std::string ControlName(HWND hwnd) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(hwnd, ControlNameProperty)));
  if (!atom) return {};
  char name[256];
  const UINT length = GlobalGetAtomNameA(atom, name, sizeof name);
  return std::string(name, length);
}

std::vector<HWND> Descendants(HWND root) {
  std::vector<HWND> found;
  EnumChildWindows(root, CollectChild, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND FindControl(HWND root, const std::string& name) {
  for (HWND child : Descendants(root))
    if (ControlName(child) == name) return child;
  return nullptr;
}

std::string WindowText(HWND hwnd) {
  wchar_t text[4096];
  const LRESULT length = SendMessageW(hwnd, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(text));
  return FromWide(text, static_cast<size_t>(length));
}

std::string WindowClass(HWND hwnd) {
  char name[256];
  const int length = GetClassNameA(hwnd, name, sizeof name);
  return std::string(name, static_cast<size_t>(length));
}

void Press(HWND button) {
  if (!IsWindowEnabled(button) || !IsWindowVisible(button)) return;
  PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

HWND FocusOf(DWORD pid) {
  for (HWND w : TopWindows(pid)) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &info)) return info.hwndFocus;
  }
  return nullptr;
}

void PressKey(HWND focus, UINT key, char altLetter) {
  if (altLetter) {
    PostMessageA(focus, WM_SYSCHAR, static_cast<WPARAM>(altLetter), 1 | (1 << 29));
    return;
  }
  PostMessageA(focus, WM_KEYDOWN, key, 1);
  PostMessageA(focus, WM_KEYUP, key, 0xC0000001);
}

std::string MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);  // the message box's static text
  return text ? WindowText(text) : std::string();
}

HWND DialogButton(HWND dialog, const std::string& caption) {
  for (HWND child : Descendants(dialog))
    if (WindowClass(child) == "Button" && WindowText(child) == caption) return child;
  return nullptr;
}

void PressDialogButton(HWND dialog, const std::string& caption) {
  if (HWND button = DialogButton(dialog, caption)) Press(button);
}

std::vector<std::string> TreeNodes(HWND tree, DWORD pid) {
  std::vector<std::string> nodes;
  KernelHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid));
  if (!process) return nodes;
  // The item and its text buffer must lie in the tree's own process.
  constexpr SIZE_T TextSize = 256;
  auto* remote = static_cast<char*>(
      VirtualAllocEx(process.Get(), nullptr, sizeof(TVITEMW) + TextSize * 2, MEM_COMMIT, PAGE_READWRITE));
  if (!remote) return nodes;
  for (auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
       item = reinterpret_cast<HTREEITEM>(
           SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
    TVITEMW tv = {};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(TVITEMW));
    tv.cchTextMax = TextSize;
    WriteProcessMemory(process.Get(), remote, &tv, sizeof tv, nullptr);
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
    wchar_t text[TextSize] = {};
    ReadProcessMemory(process.Get(), remote + sizeof(TVITEMW), text, (TextSize - 1) * 2, nullptr);
    nodes.push_back(FromWide(text));
  }
  VirtualFreeEx(process.Get(), remote, 0, MEM_RELEASE);
  return nodes;
}

int TreeSelection(HWND tree) {
  const LRESULT selected = SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0);
  if (!selected) return -1;
  int index = 0;
  for (auto item = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)); item;
       ++index, item = reinterpret_cast<HTREEITEM>(
                    SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item))))
    if (reinterpret_cast<LRESULT>(item) == selected) return index;
  return -1;
}

Screenshot CaptureScreen(const RECT& rect) {
  Screenshot shot;
  shot.width = rect.right - rect.left;
  shot.height = rect.bottom - rect.top;
  if (shot.width <= 0 || shot.height <= 0) return shot;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = shot.width;
  info.bmiHeader.biHeight = -shot.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  // Only the part on the screen: a source reaching past its edge makes the copy fail.
  RECT visible;
  const RECT screenRect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (IntersectRect(&visible, &rect, &screenRect))
    BitBlt(memory, visible.left - rect.left, visible.top - rect.top, visible.right - visible.left,
           visible.bottom - visible.top, screen, visible.left, visible.top, SRCCOPY);
  GdiFlush();
  const auto* dib = static_cast<const DWORD*>(bits);
  shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
  for (size_t i = 0; i < shot.pixels.size(); ++i)
    shot.pixels[i] = RGB((dib[i] >> 16) & 0xFF, (dib[i] >> 8) & 0xFF, dib[i] & 0xFF);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return shot;
}

Screenshot CaptureWindow(HWND hwnd) {
  RECT rect;
  GetWindowRect(hwnd, &rect);
  return CaptureScreen(rect);
}

bool Screenshot::SaveBmp(const std::string& path) const {
  const DWORD rowBytes = (static_cast<DWORD>(width) * 3 + 3) & ~3u;  // rows fill whole words
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + rowBytes * static_cast<DWORD>(height);
  KernelHandle out = FromCreateFile(CreateFileNamed(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
  if (!out) return false;
  std::string data(reinterpret_cast<const char*>(&file), sizeof file);
  data.append(reinterpret_cast<const char*>(&info), sizeof info);
  for (int y = height - 1; y >= 0; --y) {  // bottom-up rows
    std::string row(rowBytes, '\0');
    for (int x = 0; x < width; ++x) {
      const COLORREF c = At(x, y);
      row[x * 3] = static_cast<char>(GetBValue(c));
      row[x * 3 + 1] = static_cast<char>(GetGValue(c));
      row[x * 3 + 2] = static_cast<char>(GetRValue(c));
    }
    data += row;
  }
  DWORD written = 0;
  return WriteFile(out.Get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) &&
         written == data.size();
}

int ScreenBitsPerPixel() {
  HDC dc = GetDC(nullptr);
  const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  ReleaseDC(nullptr, dc);
  return bits;
}

ShellLinkFields ReadShellLink(const std::string& linkFile) {
  ShellLinkFields fields;
  CoInitialize(nullptr);
  IShellLinkW* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      if (SUCCEEDED(file->Load(Wide(linkFile).c_str(), STGM_READ))) {
        wchar_t buffer[MAX_PATH] = {};
        link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH);
        fields.path = FromWide(buffer);
        // The target as the shell resolves it, from the item list: Wine reads the path kept
        // beside it back in the system's code page only.
        LPITEMIDLIST target = nullptr;
        if (SUCCEEDED(link->GetIDList(&target)) && target) {
          if (SHGetPathFromIDListW(target, buffer)) fields.path = FromWide(buffer);
          CoTaskMemFree(target);
        }
        buffer[0] = L'\0';
        link->GetDescription(buffer, MAX_PATH);
        fields.description = FromWide(buffer);
        buffer[0] = L'\0';
        link->GetWorkingDirectory(buffer, MAX_PATH);
        fields.workingDir = FromWide(buffer);
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  // The show command from the file's header (offset 0x3C): Wine's loader does not keep it.
  KernelHandle raw = FromCreateFile(CreateFileNamed(linkFile, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, 0));
  unsigned char header[0x40] = {};
  DWORD got = 0;
  ReadFile(raw.Get(), header, sizeof header, &got, nullptr);
  if (got == sizeof header) fields.showCmd = header[0x3C];
  return fields;
}

std::string FileText(const std::string& path) {
  // Shared every way: the file may be one another process is writing.
  KernelHandle file = FromCreateFile(
      CreateFileNamed(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING, 0));
  if (!file) return {};
  std::string text(GetFileSize(file.Get(), nullptr), '\0');
  DWORD got = 0;
  if (!text.empty() && !ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr)) got = 0;
  text.resize(got);
  return text;
}

std::string LogFileText(const std::string& path) { return ProfileText(FileText(path)); }

void MakeLogFile(const std::string& path, const std::string& text, bool earlierVersion) {
  std::string ansi;
  ToSystemCodePage(text, ansi);
  MakeFile(path, earlierVersion ? ansi : ProfileFileStart() + ProfileBytes(text));
}

void MakeFile(const std::string& path, const std::string& content) {
  KernelHandle file = FromCreateFile(CreateFileNamed(path, GENERIC_WRITE, 0, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
  DWORD written = 0;
  if (file) WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

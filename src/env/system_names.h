// Names at the system's boundary. Inside, every string is UTF-8. On the NT family a name goes
// to and comes from the wide ("W") functions as UTF-16; on the 95 family, whose names are the
// system's code page by nature, to and from the A functions. The choice is made once, at start.
// A name that the 95 family cannot hold whole is refused (ERROR_INVALID_NAME), never passed on
// as a best-fit name that would mean another file.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

bool WideSystem();
std::wstring Wide(std::string_view utf8);
std::string FromWide(const wchar_t* text, size_t length);
std::string FromWide(const wchar_t* text);
// A name in the form the chosen functions take: UTF-16 on the NT family, the code page's bytes
// on the 95 family (whole false when the code page cannot hold it; such a name is refused).
struct SystemName {
  explicit SystemName(std::string_view utf8);
  std::wstring wide;
  std::string ansi;
  bool whole = true;
};
// The 95 family: the name in the system's code page; false when a letter of it has none there.
bool ToSystemCodePage(std::string_view utf8, std::string& ansi);
// The same for another code page (CP_OEMCP: the command interpreter's).
bool ToCodePage(UINT codePage, std::string_view utf8, std::string& bytes);
std::string FromSystemCodePage(const char* text);
// Names compared as the file system compares them: letter case aside, in every alphabet.
bool SameNameIgnoringCase(const std::string& a, const std::string& b);

// The file functions, by UTF-8 name; each fails as its Win32 function does.
HANDLE CreateFileNamed(const std::string& path, DWORD access, DWORD share, DWORD disposition, DWORD flags);
DWORD FileAttributes(const std::string& path);
bool SetFileAttributesNamed(const std::string& path, DWORD attributes);
bool DeleteFileNamed(const std::string& path);
bool MoveFileNamed(const std::string& from, const std::string& to);
// MoveFileEx; an empty target deletes (at a restart).
bool MoveFileExNamed(const std::string& from, const std::string& to, DWORD flags);
// A second name for an existing file (NT family from Windows 2000 on, on a file system that
// has them); false elsewhere, with nothing made.
bool CreateHardLinkNamed(const std::string& link, const std::string& existing);
bool CopyFileNamed(const std::string& from, const std::string& to, bool failIfExists);
bool CreateDirectoryNamed(const std::string& path);
bool RemoveDirectoryNamed(const std::string& path);
bool SetCurrentDirectoryNamed(const std::string& path);
// A new empty file of a unique name in dir ("<prefix><hex>.tmp"); empty on failure.
std::string TempFileNamed(const std::string& dir, const char* prefix);
std::string ShortPathNamed(const std::string& path);  // the path itself when it has none

struct FoundFile {
  std::string name;
  DWORD attributes = 0;
  unsigned long long size = 0;
};
// The entries a wildcard names ("dir\*.*"), "." and ".." included as the system lists them.
std::vector<FoundFile> FindFiles(const std::string& pattern);

// The system's own names.
std::string ModuleFileName();
std::string CommandLineText();
std::string WindowsDirectory();
std::string SystemDirectory();
std::string TempDirectory();  // ends in "\"
std::string UserName();
std::string ComputerName();
// A batch file is read by the command interpreter in the OEM code page. An existing file's or
// folder's name for it: the name itself where the OEM code page holds it, else its short name
// where that one does (a name that the volume gave no short name stays as it is, see
// BatchFileBytes).
std::string NameForBatch(const std::string& path);
// The batch text's bytes: the OEM code page; where that cannot hold it, UTF-8 behind a switch of
// the interpreter to UTF-8 (which only Windows 7 and later read in a batch file).
std::string BatchFileBytes(const std::string& text);
// Starts the command line with its window hidden; false when it cannot start.
bool StartHidden(const std::string& commandLine);

// Tells the shell that the folder's content changed.
void NotifyFolderChanged(const std::string& folder);
// Opens the file as the shell opens it, in its own folder.
void OpenWithShell(HWND owner, const std::string& file, const std::string& folder, int show);

// The file-system path of a shell item id list; empty when it has none.
std::string PathFromIdList(const void* idList);

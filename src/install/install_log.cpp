#include "install/install_log.h"
#include "env/system_names.h"

#include <cstddef>
#include <utility>

#include <windows.h>

#include "codec/expander.h"
#include "codec/sha256.h"
#include "env/handles.h"
#include "env/file_system.h"
#include "env/ini_file.h"
#include "env/install_names.h"
#include "env/paths.h"
#include "env/removal_rules.h"
#include "env/settings.h"
#include "env/text_file.h"
#include "install/upgrade_rules.h"
#include "install/wizard_texts.h"

std::string InstallLogPath() { return UpperCase(IncludeBackslash(InstallDir) + InstallLogName); }

namespace {
// One numbered line of a section: "File<number>=value".
std::string EntryLine(size_t number, const std::string& value) {
  return Concat({"File", DecimalText(static_cast<unsigned long>(number)), "=", value, "\r\n"});
}

// The origins of the files logged so far that did not come from the installation: their
// lines, by number.
std::vector<std::string> origins;

// The sections after the file entries, from the settings and the origins.
std::string LogTail() {
  std::string tail =
      Concat({"[", LogGroup, "]\r\nName=", GroupName, "\r\n[", LogStartMenu, "]\r\nFolder=", StartMenuFolder, "\r\n"});
  if (!CreatedFolders.empty()) tail += Concat({"[", LogCreatedFolders, "]\r\n"});
  for (size_t k = 0; k < CreatedFolders.size(); ++k)
    tail += Concat({"Folder", DecimalText(k + 1), "=", CreatedFolders[k], "\r\n"});
  if (!origins.empty()) tail += Concat({"[", LogFileOrigins, "]\r\n"});
  for (const std::string& line : origins) tail += line;
  return tail;
}

// The log opened by its directory as given, not upper-cased: the same file, but Wine would
// search every directory on the way whose letter case differs, and an installation directory
// holds many files.
std::string LogFileAsGiven() { return IncludeBackslash(InstallDir) + UpperCase(InstallLogName); }

// A log the run started itself takes its file entries straight into the file: the sections
// after "InstalledFiles" are written again behind each new entry, so an entry costs the same
// however long the log has grown (the profile functions rewrite the whole file for each
// value), and the file is complete after every entry. The text is the one the profile
// functions write. A log that was there before, or that changed under us, goes through them.
// The file stays open from entry to entry (opening it costs more than writing an entry);
// what is written is in the system's hands at once all the same, killed or not.
class OwnLog {
 public:
  enum Outcome { Written, Given, Failed };
  // Given when the entry must go through the profile functions instead.
  Outcome Write(const std::string& path, unsigned number, const std::string& targetPath, const std::string& origin) {
    if (path != path_) {
      origins.clear();  // another log
      Start(path);
    }
    const std::string file = LogFileAsGiven();
    if (!own_ || number <= lastNumber_ || (!ProgramName.empty() && size_ > 0)) return Give();
    std::string text;
    if (size_ == 0) {
      if (!ProgramName.empty()) text = Concat({"[", LogGeneral, "]\r\nName=", ProgramName, "\r\n"});
      text += Concat({"[", LogInstalledFiles, "]\r\n"});
    }
    text += EntryLine(number, targetPath);
    text = (size_ == 0 ? ProfileFileStart() : std::string()) + ProfileBytes(text);
    if (!log_)
      // Shared for writing: another writer's change shows in the length and hands the log over.
      log_ = FromCreateFile(CreateFileNamed(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            size_ == 0 ? CREATE_NEW : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
    // (The file functions of Windows 95 and NT 4 count in 32 bits; a log stays far below.)
    if (!log_ || GetFileSize(log_.Get(), nullptr) != size_) return Give();
    if (!origin.empty()) origins.push_back(EntryLine(number, origin));
    const std::string tail = ProfileBytes(LogTail());
    const DWORD at = size_ - static_cast<DWORD>(tailSize_);
    text += tail;
    DWORD written = 0;
    // The file only ever grows, unless the group or folder name got shorter; a needless
    // truncation would make some file systems flush the file at once.
    const bool shorter = at + text.size() < size_;
    if (SetFilePointer(log_.Get(), static_cast<LONG>(at), nullptr, FILE_BEGIN) != at ||
        !WriteFile(log_.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) ||
        written != text.size() || (shorter && !SetEndOfFile(log_.Get()))) {
      if (!origin.empty()) origins.pop_back();
      Give();
      return Failed;
    }
    size_ = at + static_cast<DWORD>(text.size());
    tailSize_ = tail.size();
    lastNumber_ = number;
    ProgramName.clear();
    return Written;
  }

  // Lets go of the file, for the profile functions that write into it next.
  void Close() { log_.Reset(); }

  // What the log holds is on the disk, however it was written.
  bool Flush() {
    if (log_) return FlushFileBuffers(log_.Get());
    const KernelHandle file = FromCreateFile(
        CreateFileNamed(LogFileAsGiven(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0));
    return file && FlushFileBuffers(file.Get());
  }

  // Takes over a log just written whole, of size bytes that end in tail, with entries
  // numbered up to lastNumber.
  void Adopt(DWORD size, size_t tailSize, unsigned lastNumber) {
    Start(InstallLogPath());
    own_ = true;
    size_ = size;
    tailSize_ = tailSize;
    lastNumber_ = lastNumber;
  }

 private:
  void Start(const std::string& path) {
    log_.Reset();
    path_ = path;
    own_ = FileAttributes(LogFileAsGiven()) == INVALID_FILE_ATTRIBUTES;
    size_ = 0;
    tailSize_ = 0;
    lastNumber_ = 0;
  }
  Outcome Give() {
    own_ = false;
    log_.Reset();
    return Given;
  }

  std::string path_;
  KernelHandle log_;
  bool own_ = false;
  DWORD size_ = 0;  // the file's length as we left it; 0 before the first entry
  size_t tailSize_ = 0;
  unsigned lastNumber_ = 0;
};
OwnLog ownLog;
}  // namespace

bool LogInstalledFile(unsigned number, const std::string& targetPath, const std::string& origin) {
  const std::string path = InstallLogPath();
  const OwnLog::Outcome outcome = ownLog.Write(path, number, targetPath, origin);
  if (outcome != OwnLog::Given) return outcome == OwnLog::Written;
  const IniFile log(path);
  if (!ProgramName.empty()) {
    if (!log.WriteString(LogGeneral, "Name", ProgramName)) return false;
    ProgramName.clear();
  }
  // The origin first: an entry is never read without it.
  bool written = (origin.empty() || log.WriteString(LogFileOrigins, "File" + DecimalText(number), origin)) &&
                 log.WriteString(LogInstalledFiles, "File" + DecimalText(number), targetPath) &&
                 log.WriteString(LogGroup, "Name", GroupName) &&
                 log.WriteString(LogStartMenu, "Folder", StartMenuFolder);
  if (written && !origin.empty()) origins.push_back(EntryLine(number, origin));
  for (size_t k = 0; written && k < CreatedFolders.size(); ++k)
    written = log.WriteString(LogCreatedFolders, "Folder" + DecimalText(k + 1), CreatedFolders[k]);
  return written;
}

bool FlushLog() { return ownLog.Flush(); }

bool RestoreLog(const std::optional<std::string>& earlier) {
  ownLog.Close();
  const std::string path = LogFileAsGiven();
  if (!earlier) return DeleteFileNamed(path) || GetLastError() == ERROR_FILE_NOT_FOUND;
  return WriteFileBytes(path, *earlier);
}

bool LogUserAccount(const std::string& profileDir) {
  ownLog.Close();
  return IniFile(InstallLogPath()).WriteString(LogUserProfile, "UserName", profileDir);
}

bool LogShortcut(const std::string& linkFile) {
  ownLog.Close();
  const std::vector<std::string> logged = ReadShortcuts(InstallLogPath());
  for (const std::string& link : logged)
    if (LowerCase(link) == LowerCase(linkFile)) return true;
  return IniFile(InstallLogPath()).WriteString(LogShortcuts, "Link" + DecimalText(logged.size() + 1), linkFile);
}

std::vector<std::string> ReadShortcuts(const std::string& logPath) { return ReadSectionValues(logPath, LogShortcuts); }

// Only a plain file is read: a name from a script or a log may be a device (COM1), whose
// reading would never end.
std::string FileState(const std::string& path) {
  if (!IsPlainAbsolutePath(path) || !IsPlainFileName(ExtractFileName(path))) return {};
  const std::optional<std::string> digest = FileSha256(path);
  return digest ? FileStateText(FileSize(path), *digest) : std::string();
}

namespace {
// A log of an earlier version may name "c:\\programme\\\\adressen\\.\\x": taken as Windows
// names it, it is found below the program directory it lies in.
std::string AsWindowsNamesIt(const std::string& path) {
  const std::string canonical = CanonicalDirectory(path);
  return canonical.empty() ? path : canonical;
}
}  // namespace

std::vector<LoggedFile> ReadLoggedFiles(const std::string& logPath) {
  const IniFile log(logPath);
  std::vector<LoggedFile> files = JoinLoggedFiles(log.ReadSection(LogInstalledFiles), log.ReadSection(LogFileStates),
                                                  log.ReadSection(LogFileOrigins));
  for (LoggedFile& file : files) file.path = AsWindowsNamesIt(file.path);
  return files;
}

bool RewriteLog(const std::vector<LoggedFile>& files) {
  ownLog.Close();
  const std::string path = LogFileAsGiven();
  // The name this run wrote last, rather than the profile functions' reading of the whole log.
  static std::string writtenPath, writtenName;
  const std::string name = !ProgramName.empty()  ? ProgramName
                           : writtenPath == path ? writtenName
                                                 : IniFile(path).ReadString(LogGeneral, "Name", "");
  std::string states, entries;
  origins.clear();
  for (size_t k = 0; k < files.size(); ++k) {
    entries += EntryLine(k + 1, files[k].path);
    if (!files[k].state.empty()) states += EntryLine(k + 1, files[k].state);
    if (!files[k].origin.empty()) origins.push_back(EntryLine(k + 1, files[k].origin));
  }
  const std::string tail = LogTail();
  // A log of an earlier version in the system's code page is written anew in this system's form.
  const std::string text =
      ProfileFileStart() + ProfileBytes(Concat({"[", LogGeneral, "]\r\nName=", name, "\r\n[", LogFileStates, "]\r\n",
                                                states, OtherSections(ProfileText(ReadFileBytes(path).value_or(""))),
                                                "[", LogInstalledFiles, "]\r\n", entries, tail}));
  const std::string temporary = TempFileNamed(IncludeBackslash(InstallDir), "log");
  if (temporary.empty()) return false;
  // On the disk before it takes the log's name: a power cut leaves the one or the other whole.
  if (!WriteFileBytes(temporary, text, true) || !MoveIntoPlace(temporary, path, MOVEFILE_WRITE_THROUGH)) {
    DeleteFileNamed(temporary);
    return false;
  }
  ProgramName.clear();  // named now: the entries that follow need not name it again
  writtenPath = path;
  writtenName = name;
  ownLog.Adopt(static_cast<DWORD>(text.size()), ProfileBytes(tail).size(), static_cast<unsigned>(files.size()));
  return true;
}

std::vector<std::string> ReadCreatedFolders(const std::string& logPath) {
  std::vector<std::string> folders = ReadSectionValues(logPath, LogCreatedFolders);
  for (std::string& folder : folders) folder = AsWindowsNamesIt(folder);
  return folders;
}

std::vector<std::string> ReadSectionValues(const std::string& logPath, const char* section) {
  std::vector<std::string> values;
  for (const std::string& line : IniFile(logPath).ReadSection(section))
    if (const size_t equals = line.find('='); equals != std::string::npos) values.push_back(line.substr(equals + 1));
  return values;
}

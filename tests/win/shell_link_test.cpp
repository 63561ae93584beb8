#include "transfer/shell_link.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "tests/win/win_test_util.h"

namespace {
struct LinkFields {
  std::string path, description, workingDir;
  int showCmd = 0;
};

// Reads a link file back through the shell's own link interface.
LinkFields ReadLink(const std::string& linkFile) {
  LinkFields fields;
  CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      WCHAR wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wide, MAX_PATH);
      if (SUCCEEDED(file->Load(wide, STGM_READ))) {
        char buffer[MAX_PATH] = {};
        link->GetPath(buffer, MAX_PATH, nullptr, SLGP_RAWPATH);
        fields.path = buffer;
        buffer[0] = '\0';
        link->GetDescription(buffer, MAX_PATH);
        fields.description = buffer;
        buffer[0] = '\0';
        link->GetWorkingDirectory(buffer, MAX_PATH);
        fields.workingDir = buffer;
      }
      file->Release();
    }
    link->Release();
  }
  CoUninitialize();
  // The show command from the file's header (offset 0x3C): Wine's loader does not keep it.
  KernelHandle raw = FromCreateFile(CreateFileA(linkFile.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                nullptr, OPEN_EXISTING, 0, nullptr));
  unsigned char header[0x40] = {};
  DWORD got = 0;
  ReadFile(raw.Get(), header, sizeof header, &got, nullptr);
  if (got == sizeof header) fields.showCmd = header[0x3C];
  return fields;
}
}  // namespace

TEST(CreateShellLink, TheSecondCallOnOnePathLeavesItsOwnSettings) {
  TempFolder temp("links");
  const std::string first = temp.File("Erstes.exe", "MZ");
  const std::string second = temp.File("Zweites.exe", "MZ");
  const std::string work = temp.Folder("Arbeit");
  const std::string link = temp.Path() + "Adressen.lnk";

  CreateShellLink(first, "Erste Beschreibung", link, temp.Path(), SW_SHOWMAXIMIZED);
  LinkFields fields = ReadLink(link);
  EXPECT_EQ(fields.path, first);
  EXPECT_EQ(fields.description, "Erste Beschreibung");
  EXPECT_EQ(fields.showCmd, SW_SHOWMAXIMIZED);

  CreateShellLink(second, "Adressverwaltung", link, work, SW_SHOWNORMAL);
  fields = ReadLink(link);
  EXPECT_EQ(fields.path, second);
  EXPECT_EQ(fields.description, "Adressverwaltung");
  EXPECT_EQ(fields.workingDir, work);
  EXPECT_EQ(fields.showCmd, SW_SHOWNORMAL);
}

TEST(CreateShellLink, NamesWithUmlautsAndANamelessFolderFailSilently) {
  TempFolder temp("linknames");
  const std::string target = temp.File("Prüfung.exe", "MZ");
  const std::string link = temp.Path() + "Größe prüfen.lnk";
  CreateShellLink(target, "Größe", link, temp.Path(), SW_SHOWNORMAL);
  EXPECT_TRUE(Exists(link));
  EXPECT_EQ(ReadLink(link).path, target);
  EXPECT_EQ(ReadLink(link).description, "Größe");

  // A folder that does not exist: no file, no message, no crash.
  const std::string nowhere = temp.Path() + "fehlt\\Adressen.lnk";
  CreateShellLink(target, "x", nowhere, temp.Path(), SW_SHOWNORMAL);
  EXPECT_FALSE(Exists(nowhere));
  // A link path longer than a path may be is refused before anything is written.
  CreateShellLink(target, "x", temp.Path() + std::string(300, 'a') + ".lnk", temp.Path(),
                  SW_SHOWNORMAL);
}

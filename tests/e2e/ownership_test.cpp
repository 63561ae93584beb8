// The removal takes only what the installation put there: what the user or another program
// had where the program goes stays, a library of the Windows directory goes with its last
// user, two programs share no directory and lose only their own shortcuts from a group they
// share, an edited log changes nothing outside its directory, and an administrator's new
// directory is closed to other users.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

#include "env/deletion.h"
#include "env/file_system.h"
#include "env/folder_security.h"
#include "env/folders.h"
#include "env/ini_file.h"
#include "env/paths.h"
#include "env/permissions.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/harness.h"

namespace {
constexpr char SharedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::string Library() { return GetWindowsDir() + "\\ADRHELP.DLL"; }

// The library's count of users in the system's register; -1 when it has none.
long SharedCount() {
  DWORD count = 0;
  return ReadRegistryDword(OpenRegistryKey(HKEY_LOCAL_MACHINE, SharedKey, false), LowerCase(Library()), count)
             ? static_cast<long>(count)
             : -1;
}

void ForgetLibrary() {
  DeleteFileA(Library().c_str());
  DeleteRegistryValue(OpenRegistryKey(HKEY_LOCAL_MACHINE, SharedKey, false), LowerCase(Library()));
}

// Another program: its own name, registration and program file, the example's library, and a
// group of the given name.
Distribution OtherProgram(const std::string& name, const std::string& group, const std::string& dir) {
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, UninstallKeyOf(name));
  Distribution dist("other_" + name);
  dist.AddSetupExe();
  dist.AddExample("Liesmich.txt");
  dist.AddExample("Vertrag.Txt");
  const std::string exe = UpperCase(name) + ".EXE";
  dist.AddFile(exe, "Programm " + name + "\r\n");
  dist.AddCompressed("ADRHELP.DL_", ExampleContent("ADRHELP.DLL"));
  dist.AddFile("Setup.lst", "[General]\r\nName=" + name + "\r\ndefaultPath=" + dir + "\r\n[StartMenu]\r\nFolder=" + name +
                                "\r\n[Group]\r\nName=" + group + "\r\n[programfiles]\r\n1=" + exe +
                                "\r\n[Windows]\r\n1=ADRHELP.DL_\r\n[Items]\r\n" + exe + "=" + name + "\r\n");
  return dist;
}

DWORD Install(const Distribution& dist, const std::string& how, const std::string& more = "") {
  const std::string arguments = how + more;
  return how == "/q" ? RunQuietly(dist.Dir() + "SETUP.EXE", arguments) : Perform(dist.Start("SETUP.EXE", arguments), {});
}

// Quiet: the uninstaller with /q, as the registered command runs it; else worked through by a
// person, the directory kept.
DWORD Remove(const std::string& how, const std::string& dir, const std::string& more = "") {
  if (how == "/q") return RunQuietly(dir + "\\Uninstal.exe", "/q" + more);
  return Perform(StartProgram(dir + "\\Uninstal.exe", more), RemovalSteps(false));
}

// The group folder of the example's run: in the chosen profile when the user selection came.
std::string GroupFolder(const std::string& dir, const std::string& group) {
  const std::string profile = IniFile(dir + "\\" + InstallLogName).ReadString("BenutzerKonto", "UserName", "");
  return (profile.empty() ? SpecialFolder(nullptr, CSIDL_PROGRAMS) : profile + "\\Startmenü\\Programme") + "\\" + group;
}
}  // namespace

TEST(Ownership, WhatWasThereBeforeStaysTheUsersDatabaseAndAnotherProgramsLibrary) {
  for (const std::string how : {"/q", "/s"}) {
    SCOPED_TRACE(how);
    PrepareMachine();
    ForgetLibrary();
    ForceDirectories(InstallDir);
    MakeFile(InstallDir + "\\Beispiel.hdb", "Meine Adressen\r\n");
    MakeFile(Library(), "Bibliothek eines anderen Programms\r\n");
    ASSERT_EQ(Install(ExampleDistribution("before_" + how.substr(1)), how), 0u);
    EXPECT_EQ(FileText(InstallDir + "\\Beispiel.hdb"), "Meine Adressen\r\n");
    EXPECT_EQ(FileText(InstallDir + "\\" + InstallLogName).find("beispiel.hdb"), std::string::npos)
        << "the user's own database is never the installation's";
    EXPECT_EQ(FileText(Library()), ExampleContent("ADRHELP.DLL")) << "a shared library is replaced";
    EXPECT_EQ(SharedCount(), 2) << "its earlier user, and this program";

    EXPECT_EQ(Remove(how == "/q" ? "/q" : "", InstallDir), 0u);
    // Quiet, the uninstaller goes after its end, by a batch file of its own.
    EXPECT_TRUE(WaitUntil([&] { return how != "/q" || !FileExists(InstallDir + "\\Uninstal.exe"); }, 20000));
    EXPECT_EQ(FileText(InstallDir + "\\Beispiel.hdb"), "Meine Adressen\r\n");
    EXPECT_FALSE(FileExists(InstallDir + "\\ADRESSEN.EXE"));
    EXPECT_TRUE(FileExists(Library())) << "the other program still uses it";
    EXPECT_EQ(SharedCount(), 1);
    ForgetLibrary();
    DeleteTree(InstallDir + "\\");
  }
}

// Two programs share a library and the name of their group: each removal takes its own
// shortcuts, the group and the library go with the last of them.
TEST(Ownership, WhatTwoProgramsShareGoesWithTheLastOfThem) {
  PrepareMachine();
  ForgetLibrary();
  const std::string kasse = "C:\\Programme\\Kasse";
  DeleteTree(kasse + "\\");
  const Distribution other = OtherProgram("Kasse", "Adressen", kasse);
  const Snapshot before = TakeSnapshot();
  ASSERT_EQ(Install(ExampleDistribution("shared_first"), "/s"), 0u);
  EXPECT_EQ(SharedCount(), 1);
  ASSERT_EQ(Install(other, "/q"), 0u);
  EXPECT_EQ(SharedCount(), 2);
  const std::string group = GroupFolder(InstallDir, "Adressen");
  ASSERT_TRUE(FileExists(group + "\\Kasse.LNK"));
  ASSERT_TRUE(FileExists(group + "\\Hilfe.LNK"));

  EXPECT_EQ(RemoveInstallation(true), 0u);
  EXPECT_TRUE(FileExists(group + "\\Kasse.LNK")) << "the other program's shortcut stays in the group";
  EXPECT_FALSE(FileExists(group + "\\Adressen.LNK"));
  EXPECT_FALSE(FileExists(group + "\\Hilfe.LNK"));
  EXPECT_TRUE(FileExists(Library()));
  EXPECT_EQ(SharedCount(), 1);
  EXPECT_TRUE(OpenRegistryKey(HKEY_LOCAL_MACHINE, UninstallKeyOf("Kasse"), false));

  EXPECT_EQ(Remove("/q", kasse), 0u);
  EXPECT_FALSE(DirectoryExists(group));
  EXPECT_EQ(SharedCount(), -1);
  ExpectUnchanged(before);
}

// A directory that holds another program's installation is refused, quiet, unattended and
// attended alike; nothing changes, and the first program's removal still works.
TEST(Ownership, OneProgramPerDirectory) {
  PrepareMachine();
  ForgetLibrary();
  const Snapshot before = TakeSnapshot();
  ASSERT_EQ(Install(ExampleDistribution("first_program"), "/q"), 0u);
  const Snapshot installed = TakeSnapshot();
  const Distribution other = OtherProgram("Kasse", "Kasse", InstallDir);
  const std::string record = "C:\\e2e\\other_program.txt";
  EXPECT_EQ(Install(other, "/q", " /LOG=" + record), 7u);
  EXPECT_NE(FileText(record).find("another program's installation (Adressen)"), std::string::npos) << FileText(record);
  const Step refused = {"TMessageForm", "OK", "ist bereits das Programm Adressen installiert"};
  EXPECT_EQ(Perform(other.Start("SETUP.EXE", "/s"), {refused}), 7u);
  // A person is told, and may choose another directory.
  EXPECT_EQ(Perform(other.Start(), WalkWizard(InstallDir) + Steps{refused, {"Tf_Aktion", AktionForm::bnEnd, "Path"}}), 1u);
  ExpectUnchanged(installed, 0);
  EXPECT_EQ(RemoveQuietly(), 0u);
  ExpectUnchanged(before);
}

// A log any user could edit names files elsewhere, the Windows directory's own files (one
// even marked as a shared one) and another program's registration: the removal, quiet or
// attended, takes the program's own files and registration and nothing else.
TEST(Ownership, AnEditedLogChangesNothingOutsideTheProgramDirectory) {
  const std::string documents = SpecialFolder(nullptr, CSIDL_PERSONAL), letter = documents + "\\brief.txt";
  const std::string windows = LowerCase(GetWindowsDir());
  const std::string winIni = FileText(windows + "\\win.ini"), regedit = FileText(windows + "\\regedit.exe");
  ASSERT_FALSE(regedit.empty());
  const std::string otherKey = UninstallKeyOf("E2eFremd"), otherCommand = "\"C:\\Programme\\Fremd\\Uninstal.exe\"";
  for (const std::string how : {"/q", ""}) {
    SCOPED_TRACE(how.empty() ? "attended" : how);
    PrepareMachine();
    ForgetLibrary();
    MakeFile(letter, "Sehr geehrte Damen und Herren\r\n");
    WriteRegistryString(OpenRegistryKey(HKEY_LOCAL_MACHINE, otherKey, true), "UninstallString", otherCommand);
    ASSERT_EQ(Install(ExampleDistribution("edited_log"), "/q"), 0u);
    const std::string dir = LowerCase(InstallDir);
    MakeFile(dir + "\\" + InstallLogName,
             "[General]\r\nName=Adressen\r\n[InstalledFiles]\r\nFile1=" + LowerCase(letter) + "\r\nFile2=" + dir +
                 "\\adressen.exe\r\nFile3=" + windows + "\\win.ini\r\nFile4=" + windows + "\\regedit.exe\r\nFile5=" +
                 documents + "\r\nFile6=" + dir + "\\uninstal.exe\r\n[FileOrigins]\r\nFile4=shared\r\n[Group]\r\n"
                 "Name=Adressen\r\n[StartMenu]\r\nFolder=E2eFremd\r\n");
    const std::string record = "C:\\e2e\\edited_log.txt";
    EXPECT_EQ(Remove(how, InstallDir, " /LOG=" + record), 0u);
    EXPECT_EQ(FileText(letter), "Sehr geehrte Damen und Herren\r\n");
    EXPECT_EQ(FileText(windows + "\\win.ini"), winIni);
    EXPECT_EQ(FileText(windows + "\\regedit.exe"), regedit);
    EXPECT_EQ(ReadRegistryString(OpenRegistryKey(HKEY_LOCAL_MACHINE, otherKey, false), "UninstallString"), otherCommand);
    EXPECT_FALSE(FileExists(InstallDir + "\\ADRESSEN.EXE"));
    EXPECT_FALSE(OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false)) << "the program's own registration, found by its command";
    const std::string text = FileText(record);
    for (const std::string& line : {"entry outside the program directory, ignored: " + LowerCase(letter),
                                    "file kept, not counted among the shared files: " + windows + "\\win.ini",
                                    "file kept, its users are not counted: " + windows + "\\regedit.exe",
                                    "registration kept, it names another uninstaller: HKEY_LOCAL_MACHINE\\" + otherKey})
      EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  }
  DeleteFileA(letter.c_str());
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, otherKey);
  DeleteTree(InstallDir + "\\");
  ForgetLibrary();
}

// An administrator's new directory gets the protection of the program files folder; one that
// every user may change is named before anything goes there.
TEST(Ownership, AnAdministratorsNewDirectoryIsClosedToOtherUsersAndAnOpenOneIsNamed) {
  PrepareMachine();
  const std::string root = "C:\\Schutz", dir = root + "\\Adressen", record = "C:\\e2e\\protected.txt";
  DeleteTree(root + "\\");
  const Distribution dist = ExampleDistribution("protected");
  ASSERT_EQ(Install(dist, "/q", " \"/D=" + dir + "\" /LOG=" + record), 0u);
  // The folders carry what a folder given that protection carries, as this system keeps it.
  const std::string sample = "C:\\e2e\\geschuetzt";
  CreateDirectoryA(sample.c_str(), nullptr);
  std::string protection = ProtectedFolderDescriptor();
  ASSERT_TRUE(SetFileSecurityA(sample.c_str(), DACL_SECURITY_INFORMATION, protection.data()));
  auto descriptor = [](const std::string& folder) {
    DWORD needed = 0;
    GetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    std::string bytes(needed, '\0');
    GetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, bytes.data(), needed, &needed);
    return bytes;
  };
  for (const std::string& folder : {root, dir}) {
    EXPECT_EQ(descriptor(folder), descriptor(sample)) << folder;
    EXPECT_FALSE(UsersCanWrite(folder)) << folder;
    EXPECT_NE(FileText(record).find("only administrators may change: " + folder), std::string::npos) << FileText(record);
  }
  RemoveDirectoryA(sample.c_str());
  DeleteTree(root + "\\");
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);

  // A directory every user may change: quiet and unattended runs name it in the record; a
  // person is asked, and "Nein" installs nothing.
  ForceDirectories(dir);
  PSECURITY_DESCRIPTOR everyone = nullptr;
  ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(A;OICI;FA;;;WD)", SDDL_REVISION_1, &everyone, nullptr));
  ASSERT_TRUE(SetFileSecurityA(dir.c_str(), DACL_SECURITY_INFORMATION, everyone));
  LocalFree(everyone);
  ASSERT_TRUE(UsersCanWrite(dir));
  const Step asked = {"TMessageForm", "No", "Jeder Benutzer dieses Computers kann die Dateien im Verzeichnis " + dir};
  EXPECT_EQ(Perform(dist.Start(), WalkWizard(dir) + Steps{asked, {"Tf_Aktion", AktionForm::bnEnd, "Path"}}), 1u);
  EXPECT_FALSE(FileExists(dir + "\\ADRESSEN.EXE"));
  for (const std::string how : {"/q", "/s"}) {
    SCOPED_TRACE(how);
    ASSERT_EQ(Install(dist, how, " \"/D=" + dir + "\" /LOG=" + record), 0u);
    EXPECT_NE(FileText(record).find("every user may change the files in the installation directory: " + dir),
              std::string::npos) << FileText(record);
  }
  DeleteTree(root + "\\");
  ForgetLibrary();
  PrepareMachine();
}

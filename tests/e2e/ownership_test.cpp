// The removal takes only what the installation put there: what the user or another program
// had where the program goes stays, a library of the Windows directory goes with its last
// user, two programs share no directory and lose only their own shortcuts from a group they
// share, an edited log changes nothing outside its directory, and an administrator's new
// directory is closed to other users.
#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>
#include <shlobj.h>

#include "env/system_names.h"
#include "env/deletion.h"
#include "env/file_system.h"
#include "env/folder_security.h"
#include "env/folders.h"
#include "env/paths.h"
#include "env/permissions.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/harness.h"
#include "tests/win/win_test_util.h"

namespace {
std::string Library() { return GetWindowsDir() + "\\ADRHELP.DLL"; }

long SharedCount() {  // the library's count of users in the system's register; -1: none
  DWORD n = 0;
  return ReadRegistryDword(OpenRegistryKey(HKEY_LOCAL_MACHINE, SharedLibrariesKey, false), LowerCase(Library()), n) ? n : -1;
}

// Another program: its own name, registration and program file, the example's library, and a
// group of the given name.
Distribution OtherProgram(const std::string& name, const std::string& group, const std::string& dir) {
  Distribution dist("other_" + name);
  const std::string exe = UpperCase(name) + ".EXE";
  dist.AddFile(exe, "Programm " + name + "\r\n");
  dist.AddCompressed("ADRHELP.DL_", ExampleContent("ADRHELP.DLL"));
  dist.AddProgram("[General]\r\nName=" + name + "\r\ndefaultPath=" + dir + "\r\n[StartMenu]\r\nFolder=" + name + "\r\n[Group]\r\nName=" +
                  group + "\r\n[programfiles]\r\n1=" + exe + "\r\n[Windows]\r\n1=ADRHELP.DL_\r\n[Items]\r\n" + exe + "=" + name + "\r\n");
  return dist;
}

DWORD Install(const Distribution& dist, const std::string& how, const std::string& more = "") {
  return how == "/q" ? RunQuietly(dist.Dir() + "SETUP.EXE", how + more) : Perform(dist.Start("SETUP.EXE", how + more), {});
}

// Quiet: the uninstaller with /q, as the registered command runs it; else worked through by a
// person, the directory kept.
DWORD Remove(const std::string& how, const std::string& dir, const std::string& more = "") {
  if (how == "/q") return RunQuietly(dir + "\\Uninstal.exe", "/q" + more);
  return Perform(StartProgram(dir + "\\Uninstal.exe", more), RemovalSteps(false));
}

}  // namespace

// What the user or another program had where the program goes stays: the user's database,
// a library another program put there uncounted. Two programs count themselves among the
// users of a library and share a group: each removal takes its own shortcuts, and the group
// and a library the installations brought go with the last of them.
TEST(Ownership, WhatWasThereBeforeStaysWhatTwoProgramsShareGoesWithTheLast) {
  const std::string kasse = "C:\\Programme\\Kasse";
  for (const std::string how : {"/q", "/s"}) {
    SCOPED_TRACE(how);
    PrepareMachine();
    DeleteTree(kasse + "\\");
    const bool foreign = how == "/q";  // another program's library there before, uncounted
    if (foreign) MakeFile(Library(), "Bibliothek eines anderen Programms\r\n");
    ForceDirectories(InstallDir);
    MakeFile(InstallDir + "\\Beispiel.hdb", "Meine Adressen\r\n");
    MakeFile(InstallDir + "\\ADRESSEN.HLP");  // read-only: replaced as any other, never "in use"
    SetFileAttributesNamed(InstallDir + "\\ADRESSEN.HLP", FILE_ATTRIBUTE_READONLY);
    ASSERT_EQ(Install(ExampleDistribution("before_" + how.substr(1)), how), 0u);
    EXPECT_EQ(FileText(InstallDir + "\\ADRESSEN.HLP"), ExampleContent("ADRESSEN.HLP"));
    ASSERT_EQ(Install(OtherProgram("Kasse", "Adressen", kasse), "/q"), 0u);
    EXPECT_EQ(LogFileText(InstallDir + "\\" + InstallLogName).find("beispiel.hdb"), std::string::npos)
        << "the user's own database is never the installation's";
    EXPECT_EQ(FileText(Library()), ExampleContent("ADRHELP.DLL")) << "a shared library is replaced";
    EXPECT_EQ(SharedCount(), foreign ? 3 : 2) << "an unknown earlier user, and the two programs";
    const std::string group = GroupFolderOf(InstallDir);
    EXPECT_EQ(Remove(how == "/q" ? "/q" : "", InstallDir), 0u);
    EXPECT_TRUE(FileExists(group + "\\Kasse.LNK")) << "the other program's shortcut stays in the group";
    for (const char* gone : {"\\Adressen.LNK", "\\Hilfe.LNK"}) EXPECT_FALSE(FileExists(group + gone)) << gone;
    EXPECT_EQ(FileText(InstallDir + "\\Beispiel.hdb"), "Meine Adressen\r\n");
    EXPECT_FALSE(FileExists(InstallDir + "\\ADRESSEN.EXE"));
    EXPECT_EQ(SharedCount(), foreign ? 2 : 1);
    EXPECT_EQ(Remove("/q", kasse), 0u);
    EXPECT_FALSE(DirectoryExists(group));
    EXPECT_EQ(FileExists(Library()), foreign) << "a library goes with its last user";
    EXPECT_EQ(SharedCount(), foreign ? 1 : -1);
    EXPECT_FALSE(OpenRegistryKey(HKEY_LOCAL_MACHINE, UninstallKeyOf("Kasse"), false));
    // Quiet, an uninstaller goes after its end, by a batch file of its own.
    EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(kasse) && (!foreign || !FileExists(InstallDir + "\\Uninstal.exe")); }, 20000));
  }
  PrepareMachine();
}

// A directory that holds another program's installation is refused, quiet, unattended and
// attended alike; nothing changes. A log cut short is known by the name at its head.
TEST(Ownership, OneProgramPerDirectory) {
  PrepareMachine();
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
  // A log cut short by a power cut names no registration: the program's name at its head
  // decides. The same program completes it; another is refused all the same.
  const std::string log = InstallDir + "\\" + InstallLogName, whole = LogFileText(log);
  MakeLogFile(log, whole.substr(0, whole.find('[', whole.find("[InstalledFiles]") + 1)));
  EXPECT_EQ(Install(other, "/q"), 7u);
  EXPECT_EQ(Install(ExampleDistribution("first_program"), "/q"), 0u);
  EXPECT_NE(LogFileText(log).find("[StartMenu]"), std::string::npos);
  PrepareMachine();
}

// A log any user could edit names files elsewhere (first of all), through "..", a wildcard
// or a link into another folder, the Windows directory's own files (one marked as a shared
// one), far more entries than one fetch of key names holds, a group name with "..", and
// another program's registration or a key below one: the removal, quiet or attended, takes
// the program's own files and registration and nothing else.
TEST(Ownership, AnEditedLogChangesNothingOutsideTheProgramDirectory) {
  const std::string letter = IncludeBackslash(SpecialFolder(nullptr, CSIDL_PERSONAL)) + "brief.txt", victim = "C:\\e2e\\opfer";
  const std::string windows = LowerCase(GetWindowsDir()), dir = LowerCase(InstallDir), record = "C:\\e2e\\edited.txt";
  const std::string winIni = FileText(windows + "\\win.ini"), regedit = FileText(windows + "\\regedit.exe");
  ASSERT_FALSE(regedit.empty());
  const std::string otherKey = UninstallKeyOf("E2eFremd"), otherCommand = "\"C:\\Programme\\Fremd\\Uninstal.exe\"";
  for (const std::string registration : {"E2eFremd", "E2eFremd\\Sub"}) {
    const std::string how = registration == "E2eFremd" ? "/q" : "";
    SCOPED_TRACE(how.empty() ? "attended" : how);
    PrepareMachine();
    DeleteTree(victim + "\\");
    ForceDirectories(victim);
    for (const char* name : {"b.txt", "c.txt", "d.txt"}) MakeFile(victim + "\\" + name);
    MakeFile(letter, "Sehr geehrte Damen und Herren\r\n");
    WriteRegistryString(OpenRegistryKey(HKEY_LOCAL_MACHINE, otherKey + "\\Sub", true), "UninstallString", otherCommand);
    WriteRegistryString(OpenRegistryKey(HKEY_LOCAL_MACHINE, otherKey, true), "UninstallString", otherCommand);
    ASSERT_EQ(Install(ExampleDistribution("edited_log"), "/q"), 0u);
    const bool linked = MakeFolderLink(dir + "\\verweis", victim);  // where the system makes links
    std::string log = "[General]\r\nName=Adressen\r\n[InstalledFiles]\r\nFile1=" + LowerCase(letter) + "\r\nFile2=" + dir +
                      "\\adressen.exe\r\nFile3=" + windows + "\\win.ini\r\nFile4=" + windows + "\\regedit.exe\r\nFile5=" + dir +
                      "\\..\\..\\e2e\\opfer\\b.txt\r\nFile6=" + victim + "\\c.txt\r\nFile8=" + dir + "\\verweis\\d.txt\r\nFile9=" + dir +
                      "\\*.*\r\nFile10=" + dir + "\\uninstal.exe\r\n";
    ForceDirectories(dir + "\\viele");
    for (int i = 11; i < 2111; ++i) {
      const std::string file = dir + "\\viele\\f" + std::to_string(i) + ".txt";
      MakeFile(file);
      log += "File" + std::to_string(i) + "=" + file + "\r\n";
    }
    MakeLogFile(dir + "\\" + InstallLogName, log +
                                                 "[FileOrigins]\r\nFile4=shared\r\n[Group]\r\nName=..\\..\\..\\e2e\\opfer\r\n"
                                                 "[StartMenu]\r\nFolder=" +
                                                 registration + "\r\n");
    Steps steps = RemovalSteps(false);
    steps[2].act = [&](HWND ask) {
      EXPECT_NE(WindowText(FindControl(ask, AskForm::lbInfo)).find(" " + dir + " "), std::string::npos)
          << "the uninstaller's own directory, not the first logged file's";
    };
    const DWORD status = how == "/q" ? Remove(how, InstallDir, " /LOG=" + record)
                                     : Perform(StartProgram(InstallDir + "\\Uninstal.exe", "/LOG=" + record), steps);
    EXPECT_TRUE(status == 0 || (linked && status == 3)) << status << ": a file seen through a link is left";
    EXPECT_EQ(FileText(letter), "Sehr geehrte Damen und Herren\r\n");
    for (const char* name : {"b.txt", "c.txt", "d.txt"}) EXPECT_TRUE(FileExists(victim + "\\" + name)) << name;
    EXPECT_EQ(FileText(windows + "\\win.ini"), winIni);
    EXPECT_EQ(FileText(windows + "\\regedit.exe"), regedit);
    for (const std::string& key : {otherKey, otherKey + "\\Sub"})
      EXPECT_EQ(ReadRegistryString(OpenRegistryKey(HKEY_LOCAL_MACHINE, key, false), "UninstallString"), otherCommand);
    for (const char* gone : {"\\ADRESSEN.EXE", "\\viele\\f11.txt", "\\viele\\f2110.txt"})
      EXPECT_FALSE(FileExists(InstallDir + gone)) << gone;
    EXPECT_FALSE(OpenRegistryKey(HKEY_LOCAL_MACHINE, AdressenKey, false)) << "the program's own, found by its command";
    const std::string text = FileText(record);
    for (const std::string& line : {"entry outside the program directory, ignored: " + LowerCase(letter),
                                    "entry outside the program directory, ignored: " + victim + "\\c.txt",
                                    "file kept, not counted among the shared files: " + windows + "\\win.ini",
                                    "file kept, its users are not counted: " + windows + "\\regedit.exe"})
      EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    EXPECT_EQ(text.find("registration kept, it names another uninstaller") != std::string::npos, how == "/q");
  }
  DeleteFileNamed(letter);
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, otherKey);
  DeleteTree(victim + "\\");
  PrepareMachine();
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
  CreateDirectoryNamed(sample);
  std::string protection = ProtectedFolderDescriptor();
  ASSERT_TRUE(SetFileSecurityA(sample.c_str(), DACL_SECURITY_INFORMATION, protection.data()));
  auto descriptor = [](const std::string& folder) {
    std::string bytes(4096, '\0');
    DWORD size = 0;
    return GetFileSecurityA(folder.c_str(), DACL_SECURITY_INFORMATION, bytes.data(), 4096, &size) ? bytes.substr(0, size) : "";
  };
  for (const std::string& folder : {root, dir}) {
    EXPECT_EQ(descriptor(folder), descriptor(sample)) << folder;
    EXPECT_FALSE(UsersCanWrite(folder)) << folder;
    EXPECT_NE(FileText(record).find("only administrators may change: " + folder), std::string::npos) << FileText(record);
  }
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
    EXPECT_NE(FileText(record).find("every user may change the files in the installation directory: " + dir), std::string::npos)
        << FileText(record);
  }
  DeleteTree(root + "\\");
  PrepareMachine();
}

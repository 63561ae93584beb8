// Versions: 2.0 over 1.0 keeps the log whole and takes away what only 1.0 had; a failed quiet
// run leaves the machine as it found it; a file in use waits for the restart; an older version
// does not replace a newer one unasked.
#include <gtest/gtest.h>

#include "env/system_names.h"
#include "codec/name_mapping.h"
#include "codec/sha256.h"
#include "env/deletion.h"
#include "env/file_system.h"
#include "env/ini_file.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/harness.h"
#include "tests/win/win_test_util.h"

namespace {
const std::string Log = InstallDir + "\\" + InstallLogName;

// One version of the example program: its program files (compressed where the name says so)
// and those for the Windows directory, each with its installed content.
struct Version {
  std::string number;
  std::vector<std::pair<std::string, std::string>> programFiles, windowsFiles;
};

const Version V1 = {"1.0",
                    {{"ADRESSEN.EXE", "Adressen 1.0"},
                     {"ADRESSEN.HL_", "Hilfe 1.0"},
                     {"beispiel.hd_", "Beispieldaten"},
                     {"Info.TXT", "Neues in 1.0"},
                     {"Handbuch.txt", "Handbuch 1.0"},
                     {"Alt.txt", "umbenannt in 2.0"}},
                    {{"ADRHELP.DL_", "Bibliothek 1.0"}}};
// Changed, kept, renamed, added and dropped files; the library dropped too.
const Version V2 = {"2.0",
                    {{"ADRESSEN.EXE", "Adressen 2.0, größer als 1.0"},
                     {"ADRESSEN.HL_", "Hilfe 1.0"},
                     {"beispiel.hd_", "Beispieldaten 2.0"},
                     {"Neu.txt", "umbenannt in 2.0"},
                     {"Zusatz.txt", "neu in 2.0"}},
                    {}};

Distribution VersionDistribution(const std::string& name, const Version& version) {
  Distribution dist(name);
  std::string script = "[General]\r\nName=Adressen\r\ndefaultPath=" + InstallDir + "\r\nVersion=" + version.number +
                       "\r\nPublisher=Muster Software\r\n[StartMenu]\r\nFolder=Adressen\r\n[Group]\r\nName=Adressen\r\n";
  for (const auto* files : {&version.programFiles, &version.windowsFiles}) {
    script += files == &version.programFiles ? "[programfiles]\r\n" : "[Windows]\r\n";
    int k = 0;
    for (const auto& [file, content] : *files) {
      script += std::to_string(++k) + "=" + file + "\r\n";
      if (IsCompressedName(file))
        dist.AddCompressed(file, content);
      else
        dist.AddFile(file, content);
    }
  }
  dist.AddProgram(script + "[Items]\r\nADRESSEN.EXE=Adressen\r\n");
  return dist;
}

// Every file below dir with its bytes, and the registration's values.
std::map<std::string, std::string> Contents(const std::string& dir) {
  std::map<std::string, std::string> contents;
  for (const std::string& name : Entries(dir + "\\*"))
    contents[LowerCase(name)] = FileExists(dir + "\\" + name) ? FileText(dir + "\\" + name) : "<folder>";
  contents["<library>"] = FileText(GetWindowsDir() + "\\ADRHELP.DLL");
  for (const char* value : {"DisplayName", "DisplayVersion", "UninstallString", "EstimatedSize", "InstallLocation"})
    contents[std::string("<registry> ") + value] = RegistrationValue(value).second;
  return contents;
}

// The paths the log's file entries name.
std::set<std::string> LoggedNames() {
  std::set<std::string> names;
  for (const std::string& line : IniFile(Log).ReadSection(LogInstalledFiles)) names.insert(LowerCase(line.substr(line.find('=') + 1)));
  return names;
}

std::string InDir(const std::string& name) { return LowerCase(InstallDir + "\\" + name); }

void Install(const Distribution& dist, const std::string& how, DWORD status = 0, const std::string& record = "") {
  const std::string arguments = how + (record.empty() ? "" : " /LOG=" + record);
  ASSERT_EQ(how == "/q" ? RunQuietly(dist.Dir() + "SETUP.EXE", arguments) : Perform(dist.Start("SETUP.EXE", arguments), {}), status);
}

std::string PendingRenames() {
  RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager", false);
  std::string data(65536, '\0');
  DWORD type = 0, size = static_cast<DWORD>(data.size());
  if (!key || RegQueryValueExA(key.Get(), "PendingFileRenameOperations", nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) !=
                  ERROR_SUCCESS)
    return "";
  data.resize(size);
  std::replace(data.begin(), data.end(), '\0', '|');
  return LowerCase(data);
}

struct UpgradeTest : ::testing::Test {
  void SetUp() override {
    PrepareMachine();
    before = TakeSnapshot();
  }
  Snapshot before;
};
}  // namespace

// 1.0, then the user's changes, then 2.0 over it; then the registered quiet removal: the
// drive and the registrations as before 1.0, but for the user's own file and its directory.
// The library 2.0 drops goes at the removal, counted or not by the version that installed it.
TEST_F(UpgradeTest, TheLogNamesEveryFileOfTheInstallationAndTheRemovalTakesThemAll) {
  for (const std::string how : {"/q", "/s"}) {
    SCOPED_TRACE(how);
    PrepareMachine();
    const Distribution v1 = VersionDistribution("upgrade_v1", V1), v2 = VersionDistribution("upgrade_v2", V2);
    Install(v1, "/q");
    if (how == "/s") {  // 1.0 as a version before the counts of shared libraries and UTF-16 logs left it
      std::string log = LogFileText(Log);
      const size_t origins = log.find("[FileOrigins]");
      ASSERT_NE(origins, std::string::npos) << log;
      MakeLogFile(Log, log.erase(origins, log.find('[', origins + 1) - origins), true);
      DeleteRegistryValue(OpenRegistryKey(HKEY_LOCAL_MACHINE, SharedLibrariesKey, false), LowerCase(GetWindowsDir() + "\\ADRHELP.DLL"));
    }
    MakeFile(InstallDir + "\\beispiel.hdb", "meine Adressen");
    MakeFile(InstallDir + "\\Handbuch.txt", "Handbuch 1.0 mit meinen Notizen");
    MakeFile(InstallDir + "\\Notizen.txt", "meine Notizen");
    const std::string record = v2.Dir() + "run.log";
    Install(v2, how, 0, record);

    const std::map<std::string, std::string> expected = {{"adressen.exe", "Adressen 2.0, größer als 1.0"},
                                                         {"adressen.hlp", "Hilfe 1.0"},
                                                         {"neu.txt", "umbenannt in 2.0"},
                                                         {"zusatz.txt", "neu in 2.0"},
                                                         {"beispiel.hdb", "meine Adressen"},
                                                         {"handbuch.txt", "Handbuch 1.0 mit meinen Notizen"},
                                                         {"notizen.txt", "meine Notizen"},
                                                         {"uninstal.exe", FileText(v2.Dir() + "SETUP.EXE")},
                                                         {"install1.log", FileText(Log)},
                                                         {"<library>", "Bibliothek 1.0"},
                                                         {"<registry> DisplayVersion", "2.0"}};
    std::map<std::string, std::string> found = Contents(InstallDir);
    for (const auto& [name, content] : found)
      EXPECT_TRUE(name.starts_with("<registry>") || expected.count(name)) << "left in place: " << name;
    for (const auto& [name, content] : expected) EXPECT_EQ(found[name], content) << name;
    // The user's own file is no installation's; everything else is, the library included.
    std::set<std::string> logged;
    for (const auto& [name, content] : expected)
      if (name != "notizen.txt" && name != "install1.log" && !name.starts_with("<")) logged.insert(InDir(name));
    logged.insert(LowerCase(GetWindowsDir() + "\\ADRHELP.DLL"));
    EXPECT_EQ(LoggedNames(), logged);
    const std::string text = FileText(record);
    EXPECT_NE(text.find("file kept, changed since it was installed: " + InDir("handbuch.txt")), std::string::npos) << text;
    for (const char* gone : {"info.txt", "alt.txt"})
      EXPECT_NE(LowerCase(text).find("file removed, no longer part of the program: " + InDir(gone)), std::string::npos) << gone << "\n"
                                                                                                                        << text;

    // Once more, the same version: nothing changes, nothing more is logged.
    Install(v2, "/q");
    EXPECT_EQ(LoggedNames(), logged);

    EXPECT_EQ(RemoveQuietly(), 0u);
    Snapshot asBefore = before;
    asBefore.files[LowerCase(InstallDir)] = 0;
    asBefore.files[InDir("notizen.txt")] = 13;
    ExpectUnchanged(asBefore);
    EXPECT_EQ(FileText(InstallDir + "\\Notizen.txt"), "meine Notizen");
  }
}

// A quiet run that fails puts everything back: 1.0 byte for byte with its log and
// registration after a failed upgrade, nothing at all after a failed first installation.
TEST_F(UpgradeTest, AFailedQuietRunLeavesTheMachineAsItFoundIt) {
  const struct {
    const char* what;
    bool upgrade;
    std::function<void(const Distribution&)> spoil;
  } rows[] = {
      {"a listed file missing", true, [](const Distribution& d) { DeleteFileNamed((d.Dir() + "Zusatz.txt")); }},
      {"a damaged file", true,
       [](const Distribution& d) {
         d.AddFile("Setup.lst", FileText(d.Dir() + "Setup.lst") + "[SHA256]\r\nNeu.txt=" + Sha256Of("nicht dieser Inhalt") + "\r\n");
       }},
      {"a target that cannot be written", true, [](const Distribution&) { CreateDirectoryNamed((InstallDir + "\\Zusatz.txt")); }},
      {"a first installation with a file missing", false, [](const Distribution& d) { DeleteFileNamed((d.Dir() + "ADRESSEN.HL_")); }},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    PrepareMachine();
    const Distribution v1 = VersionDistribution("failed_v1", V1), v2 = VersionDistribution("failed_v2", V2);
    if (row.upgrade) Install(v1, "/q");
    row.spoil(v2);
    const Snapshot now = TakeSnapshot();
    const std::map<std::string, std::string> contents = Contents(InstallDir);
    const std::string record = v2.Dir() + "run.log";
    Install(v2, "/q", 3, record);
    EXPECT_NE(FileText(record).find("the run failed"), std::string::npos) << FileText(record);
    ExpectUnchanged(now);
    EXPECT_EQ(Contents(InstallDir), contents);
    RemoveDirectoryNamed((InstallDir + "\\Zusatz.txt"));
    EXPECT_EQ(row.upgrade ? RemoveQuietly() : 0u, 0u);
    ExpectUnchanged(before);
  }
}

// Held open without sharing by another program: the new file waits beside it, the system
// puts it in place at the restart, and the run says so with 3010; the removal likewise.
TEST_F(UpgradeTest, AFileInUseIsReplacedAtTheNextRestart) {
  const Distribution v1 = VersionDistribution("inuse_v1", V1), v2 = VersionDistribution("inuse_v2", V2);
  Install(v1, "/q");
  const std::string exe = InstallDir + "\\ADRESSEN.EXE", record = v2.Dir() + "run.log";
  {
    KernelHandle held = FromCreateFile(CreateFileNamed(exe, GENERIC_READ, 0, OPEN_EXISTING, 0));
    ASSERT_TRUE(held);
    Install(v2, "/q", 3010, record);
    EXPECT_NE(LowerCase(FileText(record)).find("file in use, replaced at the next restart: " + LowerCase(exe)), std::string::npos)
        << FileText(record);
    EXPECT_NE(PendingRenames().find(LowerCase(exe)), std::string::npos) << PendingRenames();
  }
  EXPECT_EQ(FileText(exe), "Adressen 1.0");
  Restart();
  EXPECT_EQ(FileText(exe), "Adressen 2.0, größer als 1.0");
  EXPECT_EQ(PendingRenames().find(LowerCase(exe)), std::string::npos);

  // A removal that finds a file in use: it goes at the restart, and the directory with it.
  const std::string help = InstallDir + "\\ADRESSEN.HLP";
  {
    KernelHandle held = FromCreateFile(CreateFileNamed(help, GENERIC_READ, 0, OPEN_EXISTING, 0));
    ASSERT_TRUE(held);
    EXPECT_EQ(RemoveQuietly(), 3010u);
    EXPECT_NE(PendingRenames().find(LowerCase(help)), std::string::npos) << PendingRenames();
  }
  EXPECT_TRUE(FileExists(help));
  Restart();
  EXPECT_TRUE(WaitUntil([&] { return !DirectoryExists(InstallDir); }, 20000));
  ExpectUnchanged(before);
}

// 1.0 over 2.0: quiet, its own status and nothing changed; attended, the question names both
// versions, and "Nein" ends the run.
TEST_F(UpgradeTest, AnOlderVersionDoesNotReplaceANewerOneUnasked) {
  const Distribution v1 = VersionDistribution("downgrade_v1", V1), v2 = VersionDistribution("downgrade_v2", V2);
  Install(v2, "/q");
  const Snapshot installed = TakeSnapshot();
  const std::map<std::string, std::string> contents = Contents(InstallDir);
  for (const std::string how : {"/q", "/s"}) {
    SCOPED_TRACE(how);
    EXPECT_EQ(RunQuietly(v1.Dir() + "SETUP.EXE", how + " /LOG=" + v1.Dir() + "run.log"), 6u);
    EXPECT_NE(FileText(v1.Dir() + "run.log").find("a newer version is installed: 2.0"), std::string::npos);
  }
  EXPECT_EQ(Perform(v1.Start(), {{"TMessageForm", "No", "Version 2.0"}}), 1u);
  ExpectUnchanged(installed);
  EXPECT_EQ(Contents(InstallDir), contents);
  // Asked and answered "Ja", it goes ahead.
  const DWORD status = Perform(v1.Start(), Steps{{"TMessageForm", "Yes", "Version 2.0"}} + WalkWizard(InstallDir) + FinishSteps());
  EXPECT_EQ(status, 0u);
  EXPECT_EQ(RegistrationValue("DisplayVersion").second, "1.0");
  EXPECT_EQ(FileText(InstallDir + "\\ADRESSEN.EXE"), "Adressen 1.0");
  EXPECT_EQ(RemoveQuietly(), 0u);
  ExpectUnchanged(before);
}

// Deployment: quiet runs that never show a window, the switches, the registration values that
// deployment tools read, and a quiet removal through the registered command.
#include <gtest/gtest.h>

#include "env/system_names.h"
#include "bundle.h"
#include "codec/payload_format.h"
#include "codec/sha256.h"
#include "env/deletion.h"
#include "env/file_system.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/e2e/harness.h"
#include "tests/win/win_test_util.h"

namespace {
// The checksum section distkit build writes, for every file of the distribution now.

// One byte of the file changed, its size kept.
void Damage(const Distribution& dist, const std::string& name) {
  std::string bytes = FileText(dist.Dir() + name);
  bytes[bytes.size() / 2] ^= 0x20;
  dist.AddFile(name, bytes);
}

std::string WithoutLines(std::string text, const std::vector<std::string>& starts) {
  for (const std::string& start : starts)
    if (const size_t at = text.find("\n" + start); at != std::string::npos) text.erase(at + 1, text.find('\n', at + 1) - at);
  return text;
}
}  // namespace

TEST(Deploy, QuietRunsShowNoWindowSkipWhatFailsAndEndAtABadDirectory) {
  const struct {
    const char* name;
    std::string directory;  // below the distribution
    DWORD status;
    std::vector<std::string> recorded;
    std::string key = "Adressen";  // the script's registration key
  } rows[] = {
      {"deploy_skip",
       "Programm",
       3,
       {"failure: ", "Vertrag.Txt", "question: ", "(quiet mode)", "file skipped: ", "ADRESSEN.HL_", "file skipped: ", "ADRHELP.DL_",
        "exit status 3"}},
      // Below a file: it can never be made.
      {"deploy_baddir", "Setup.lst\\Programm", 5, {"cannot be created or written: ", "Setup.lst\\Programm", "exit status 5"}},
      // A folder whose name Windows would alter (its trailing dot dropped).
      {"deploy_dotdir", "Prog.\\Programm", 5, {"cannot be created or written: ", "Prog.\\Programm", "exit status 5"}},
      // A key the registry does not take: refused before anything is made.
      {"deploy_longkey", "Programm", 2, {"message: Setup.lst ist fehlerhaft", "exit status 2"}, std::string(300, 'x')},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    Distribution dist = ExampleDistribution(row.name, Complete & ~WithLicence);  // reported, and on it goes
    DeleteFileNamed((dist.Dir() + "ADRESSEN.HL_"));
    const std::string whole = FileText(dist.Dir() + "ADRHELP.DL_");
    dist.AddFile("ADRHELP.DL_", whole.substr(0, whole.size() / 2));  // cut short
    std::string script = FileText(dist.Dir() + "Setup.lst");
    dist.AddFile("Setup.lst", script.replace(script.find("Folder=Adressen"), 15, "Folder=" + row.key));
    const std::string record = dist.Dir() + "neu\\run.log", target = dist.Dir() + row.directory;  // a new folder
    // A bad directory ends the run within seconds, not when someone comes along.
    EXPECT_EQ(RunQuietly(dist.Dir() + "SETUP.EXE", "/q \"/D=" + target + "\" /LOG=" + record, row.status == 5 ? 10000 : 60000), row.status);
    const std::string text = FileText(record);
    size_t at = 0;
    for (const std::string& piece : row.recorded) {
      at = text.find(piece, at);
      ASSERT_NE(at, std::string::npos) << "the record lacks, in order: " << piece << "\n" << text;
    }
    // Quiet, a failure leaves nothing behind: not the files that worked, nor the directory.
    EXPECT_FALSE(DirectoryExists(target));
  }
}

// Installed quietly, then removed by the registered quiet command run through cmd /c as a
// deployment tool runs it: the drive and the registrations as before, the folders the
// installation made above its directory included; a file of the user's keeps the directory.
TEST(Deploy, TheRegisteredQuietRemovalLeavesTheMachineAsItWas) {
  const struct {
    const char* name;
    std::string dir;  // empty: the script's own
    bool withVersion, userFile;
    std::string given = "";  // /D= as given, when not dir: made canonical, dir is registered
    bool held = false;       // a file is held open at the removal: it goes at the restart, and the folders with it
  } rows[] = {
      {"deploy_default", "", true, false},
      {"deploy_elsewhere", "C:\\Andere Stelle\\Prog", false, false},
      {"deploy_dotted", "C:\\Andere Stelle\\Prog", true, false, "C:\\Andere Stelle\\\\x\\..\\.\\Prog. "},
      {"deploy_oem", "C:\\Programme\\Bürosoftware", false, false},  // the batch file reads the OEM code page
      {"deploy_held", "", false, false, "", true},
      {"deploy_userfile", "", true, true},  // last: its removal's batch file may still run
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    PrepareMachine();
    const std::string dir = row.dir.empty() ? InstallDir : row.dir;
    DeleteTree(ExtractFilePath(dir));  // C:\Programme too: the installation makes it
    Distribution dist = ExampleDistribution(row.name);
    if (!row.withVersion) dist.AddFile("Setup.lst", WithoutLines(FileText(dist.Dir() + "Setup.lst"), {"Version=", "Publisher="}));
    const Snapshot before = TakeSnapshot();
    ASSERT_EQ(RunQuietly(dist.Dir() + "SETUP.EXE", row.dir.empty() ? "/q" : "/q \"/D=" + (row.given.empty() ? row.dir : row.given) + "\""),
              0u);
    ASSERT_TRUE(FileExists(dir + "\\ADRESSEN.EXE"));

    unsigned long long bytes = 0;
    for (const std::string& file : {dir + "\\ADRESSEN.EXE", dir + "\\ADRESSEN.HLP", dir + "\\beispiel.HDB", dir + "\\Uninstal.exe",
                                    GetWindowsDir() + "\\ADRHELP.DLL"})
      bytes += FileSize(file);
    const std::string uninstaller = "\"" + dir + "\\Uninstal.exe\"";
    const struct {
      const char* name;
      DWORD type;
      std::string value;
    } values[] = {
        {"DisplayName", REG_SZ, "Adressen deinstalieren"},
        {"UninstallString", REG_SZ, uninstaller},
        {"QuietUninstallString", REG_SZ, uninstaller + " /q"},
        {"InstallLocation", REG_SZ, dir},
        {"DisplayIcon", REG_SZ, dir + "\\ADRESSEN.EXE"},
        {"EstimatedSize", REG_DWORD, DecimalText(static_cast<unsigned long>((bytes + 1023) / 1024))},
        {"NoModify", REG_DWORD, "1"},
        {"NoRepair", REG_DWORD, "1"},
        {"DisplayVersion", row.withVersion ? DWORD{REG_SZ} : 0, row.withVersion ? "1.0" : ""},
        {"Publisher", row.withVersion ? DWORD{REG_SZ} : 0, row.withVersion ? "Muster Software" : ""},
    };
    for (const auto& value : values) EXPECT_EQ(RegistrationValue(value.name), std::make_pair(value.type, value.value)) << value.name;

    if (row.withVersion) {
      // What the toolkit tells a catalogue and a detection rule is what was registered.
      const std::string manifest = dist.Dir() + "manifest.yaml", folder = dist.Dir().substr(0, dist.Dir().size() - 1);
      RunQuietly(SystemDir() + "cmd.exe", "/c \"\"" + GetExeDirectory() + "distkit.exe\" manifest \"" + folder + "\" --zip \"" + folder +
                                              "\\SETUP.EXE\" --url https://example.invalid/a.zip > \"" + manifest + "\"\"");
      std::string text = FileText(manifest);
      std::erase(text, '\r');
      for (const char* name : {"DisplayName", "DisplayVersion", "Publisher"})
        EXPECT_NE(text.find(std::string(name) + ": '" + RegistrationValue(name).second + "'"), std::string::npos) << name << "\n" << text;
      EXPECT_NE(text.find("ProductCode: '" + ExtractFileName(AdressenKey) + "'"), std::string::npos);
      EXPECT_NE(UpperCase(text).find(UpperCase("key:   HKEY_LOCAL_MACHINE\\" + AdressenKey + "\n")), std::string::npos);
      EXPECT_EQ(FileText(dir + "\\Uninstal.exe"), FileText(dist.Dir() + "SETUP.EXE")) << "a byte copy: signed alike";
    }
    if (row.userFile) MakeFile(dir + "\\Notizen.txt", "meine Notizen");
    // What a killed run leaves of its unfinished files: the next installation takes it, and so
    // does the removal.
    const auto leaveUnfinished = [&] {
      ForceDirectories(dir + "\\~wk1a2b3c.tmp");
      for (const char* left : {"\\~wk1a2b3c.tmp\\exp3C4D.tmp", "\\~wk1a2b3c.tmp\\cpyE.tmp", "\\log12.tmp"}) MakeFile(dir + left);
    };
    leaveUnfinished();
    EXPECT_EQ(RunQuietly(dist.Dir() + "SETUP.EXE", row.dir.empty() ? "/q" : "/q \"/D=" + row.dir + "\""), 0u);
    EXPECT_FALSE(DirectoryExists(dir + "\\~wk1a2b3c.tmp"));
    EXPECT_FALSE(FileExists(dir + "\\log12.tmp"));
    leaveUnfinished();
    {
      const KernelHandle held =
          row.held ? FromCreateFile(CreateFileNamed(dir + "\\ADRESSEN.HLP", GENERIC_READ, 0, OPEN_EXISTING, 0)) : KernelHandle();
      EXPECT_EQ(RemoveQuietly(), row.held ? 3010u : 0u);
    }
    if (row.held) Restart();
    if (!row.userFile) {
      ExpectUnchanged(before);
      continue;
    }
    EXPECT_EQ(FileText(dir + "\\Notizen.txt"), "meine Notizen");
    EXPECT_FALSE(FileExists(dir + "\\ADRESSEN.EXE"));
    EXPECT_EQ(RegistrationValue("UninstallString").first, 0u);
  }
  CreateDirectoryNamed("C:\\Programme");
}

// A script that installs into the Windows directory alone: its removal leaves nothing either.
TEST(Deploy, AScriptWithOnlyWindowsFilesIsRemovedWhole) {
  PrepareMachine();
  DeleteTree("C:\\Programme\\");
  Distribution dist = ExampleDistribution("deploy_windows_only");
  std::string script = FileText(dist.Dir() + "Setup.lst");
  script.erase(script.find("[programfiles]"), script.find("[Windows]") - script.find("[programfiles]"));
  dist.AddFile("Setup.lst", script.erase(script.find("[Items]")));
  const Snapshot before = TakeSnapshot();
  ASSERT_EQ(RunQuietly(dist.Dir() + "SETUP.EXE", "/q"), 0u);
  EXPECT_EQ(FileText(GetWindowsDir() + "\\ADRHELP.DLL"), ExampleContent("ADRHELP.DLL"));
  EXPECT_EQ(RemoveQuietly(), 0u);
  ExpectUnchanged(before);
  CreateDirectoryNamed("C:\\Programme");
}

// A changed byte in a plain file, a compressed one and the readme: each refused and named,
// nothing damaged in place (nor anything else: the quiet run fails whole); an undamaged
// distribution raises no alarm.
TEST(Deploy, ADamagedFileIsNeverInstalledAndTheRecordNamesIt) {
  for (const bool damaged : {false, true}) {
    SCOPED_TRACE(damaged ? "damaged" : "whole");
    PrepareMachine();
    DeleteTree(InstallDir);
    Distribution dist = ExampleDistribution(damaged ? "deploy_damaged" : "deploy_whole");
    std::string script = FileText(dist.Dir() + "Setup.lst");
    script.insert(script.find("[Windows]"), "4=Notiz.txt\r\n");
    dist.AddFile("Setup.lst", script);
    dist.AddFile("Notiz.txt", "Eine Notiz, so wie sie ausgeliefert wird.\r\n");
    AddChecksums(dist);
    if (damaged)
      for (const char* name : {"Notiz.txt", "ADRESSEN.HL_", "Liesmich.txt"}) Damage(dist, name);
    const std::string record = dist.Dir() + "run.log";
    EXPECT_EQ(RunQuietly(dist.Dir() + "SETUP.EXE", "/q /LOG=" + record), damaged ? 3u : 0u);
    const std::string text = FileText(record);
    for (const char* name : {"Notiz.txt", "ADRESSEN.HL_", "Liesmich.txt"})
      EXPECT_EQ(text.find("file damaged: " + dist.Dir() + name) != std::string::npos, damaged) << name << "\n" << text;
    EXPECT_EQ(text.find("damaged") != std::string::npos, damaged) << text;
    EXPECT_EQ(FileExists(InstallDir + "\\Notiz.txt"), !damaged);
    EXPECT_EQ(FileExists(InstallDir + "\\ADRESSEN.HLP"), !damaged);
    // A failed quiet run takes back what it installed.
    EXPECT_EQ(FileExists(InstallDir + "\\ADRESSEN.EXE"), !damaged);
    EXPECT_EQ(damaged ? 0u : RemoveInstallation(true), 0u);
  }
}

// Started under its download's name, the one file installs in every mode as the folder does,
// reads nothing from anywhere else, and its removal leaves the machine as before.
TEST(Deploy, AOneFileDownloadInstallsAsTheFolderDoes) {
  PrepareMachine();
  DeleteTree(InstallDir);
  Distribution download("bundle_download");
  const std::string bundle = MakeBundle("bundle", download);
  const std::string setupExe = FileText(GetExeDirectory() + "SETUP.EXE");
  const Snapshot before = TakeSnapshot();
  for (const char* mode : {"/q", "/s", "/q /D=C:\\Einzeln", "attended"}) {
    SCOPED_TRACE(mode);
    const std::string dir = std::string(mode).find("/D=") != std::string::npos ? "C:\\Einzeln" : InstallDir;
    const std::string file = ExtractFileName(bundle);
    const DWORD status = mode[1] == 'q'   ? RunQuietly(bundle, mode)
                         : mode[1] == 's' ? Perform(download.Start(file, mode), {})
                                          : Perform(download.Start(file), WalkWizard(dir) + FinishSteps());
    EXPECT_EQ(status, 0u);
    for (const char* name : {"ADRESSEN.EXE", "ADRESSEN.HLP", "beispiel.hdb"})
      EXPECT_EQ(FileText(dir + "\\" + name), ExampleContent(name)) << name;
    EXPECT_EQ(FileText(dir + "\\Uninstal.exe"), setupExe) << "the plain program, not the bundle";
    EXPECT_EQ(RegistrationValue("UninstallString").second, "\"" + dir + "\\Uninstal.exe\"");
    EXPECT_EQ(RemoveQuietly(), 0u);
    ExpectUnchanged(before);
  }
}

// Cut, or with a byte changed anywhere in what it carries, it installs nothing, leaves
// nothing and ends with status 2; attended, one message says why. So does one made whole by
// someone else, its digest correct, that carries names no distribution has (a folder part, a
// drive, a device, one name twice) or a file reaching back before its files.
TEST(Deploy, ACutDamagedOrHostileDownloadInstallsNothing) {
  PrepareMachine();
  DeleteTree(InstallDir);
  Distribution download("bundle_damaged");
  const std::string whole = FileText(MakeBundle("bundle_damaged", download));
  // The payload follows the program, which is SETUP.EXE as built.
  const size_t start = FileText(GetExeDirectory() + "SETUP.EXE").size(), end = whole.size();
  ASSERT_EQ(whole.substr(start, 8), "SETUPPAY");
  const Snapshot before = TakeSnapshot();
  const std::string record = download.Dir() + "run.log";
  const struct {
    size_t at;
    bool cut;  // else the byte there is changed
  } rows[] = {{start, true},        {start + 6, true}, {start + 5000, true}, {end - 30, true},  {end - 1, true},
              {start + 200, false}, {end - 80, false}, {end - 20, false},    {start + 9, false}};
  for (const auto& row : rows) {
    SCOPED_TRACE((row.cut ? "cut at " : "changed at ") + std::to_string(row.at));
    std::string bytes = row.cut ? whole.substr(0, row.at) : whole;
    if (!row.cut) bytes[row.at] ^= 0x01;
    download.AddFile("Kaputt.exe", bytes);
    EXPECT_EQ(RunQuietly(download.Dir() + "Kaputt.exe", "/q /LOG=" + record), 2u);
    EXPECT_NE(FileText(record).find("unvollst"), std::string::npos) << FileText(record);
    DeleteFileNamed(record);
  }
  std::vector<payload::Entry> files;
  std::vector<std::string> contents;
  for (const char* name :
       {"Setup.lst", "Liesmich.txt", "Vertrag.Txt", "ADRESSEN.EX_", "ADRESSEN.HL_", "beispiel.hd_", "ADRHELP.DL_", "SETUP.EXE"}) {
    files.push_back({name, 0, 0, 0});
    contents.push_back(FileText("C:\\e2e\\bundle_damaged_source\\" + std::string(name)));
  }
  // The first, made alike with a plain name, installs: what the others carry is refused.
  for (const char* hostile : {"EXTRA.TXT", "..\\ADRHELP.DLL", "C:ADRHELP.DLL", "C:\\Windows\\ADRHELP.DLL", "NUL", "ADRESSEN.EX_", ""}) {
    SCOPED_TRACE(std::string("carrying ") + (*hostile ? hostile : "a file before its files"));
    std::vector<payload::Entry> withIt = files;
    withIt.push_back({*hostile ? hostile : "EXTRA.TXT", 0, 0, 0});
    std::vector<std::string> bytes = contents;
    bytes.push_back("hallo");
    std::string carried = payload::Make(withIt, bytes);
    if (!*hostile) {  // the last entry's place moved onto the header, the digest made anew
      const size_t last = carried.size() - payload::TrailerSize - 18 - 9;
      carried.replace(last, 4, std::string(4, '\0'));
      carried.replace(carried.size() - payload::DigestSize, payload::DigestSize,
                      Sha256Of(carried.substr(0, carried.size() - payload::DigestSize)));
    }
    download.AddFile("Kaputt.exe", FileText(GetExeDirectory() + "SETUP.EXE") + carried);
    const bool plain = std::string_view(hostile) == "EXTRA.TXT";
    EXPECT_EQ(RunQuietly(download.Dir() + "Kaputt.exe", "/q /LOG=" + record), plain ? 0u : 2u);
    EXPECT_EQ(FileText(record).find("unvollst") != std::string::npos, !plain) << FileText(record);
    EXPECT_EQ(plain ? RemoveQuietly() : 0u, 0u);
    DeleteFileNamed(record);
  }
  EXPECT_EQ(Perform(download.Start("Kaputt.exe"), {{"#32770", "OK", "erneut herunter"}}), 2u);
  ExpectUnchanged(before);
}

// One run per program at a time: a second run for it changes nothing and ends with status 9
// (unattended without a window, attended with a message); another program's run is not held
// up; a killed run holds nothing. Then, over the installed program, a quiet installation
// while a second and the quiet removal are refused.
TEST(Deploy, TwoRunsForOneProgramNeverOverlap) {
  PrepareMachine();
  DeleteTree(InstallDir);
  const Distribution other = ExampleDistribution("lock_other"), example = ExampleDistribution("lock_example");
  const Snapshot before = TakeSnapshot();
  ASSERT_EQ(RunQuietly(example.Dir() + "SETUP.EXE", "/q"), 0u);
  std::string script =
      "[General]\r\nName=Andere\r\ndefaultPath=C:\\Programme\\Andere\r\n[StartMenu]\r\nFolder=Andere\r\n"
      "[Group]\r\nName=Andere\r\n[programfiles]\r\n1=ADRESSEN.EX_\r\n";
  other.AddFile("Setup.lst", script);
  {
    const Program holder = example.Start();  // waits at its welcome page
    ASSERT_TRUE(WaitForWindow(holder.pid, "Tf_Aktion"));
    const std::string record = example.Dir() + "second.log";
    EXPECT_EQ(RunQuietly(example.Dir() + "SETUP.EXE", "/q /LOG=" + record, 20000), 9u);
    EXPECT_NE(FileText(record).find("bereits"), std::string::npos) << FileText(record);
    EXPECT_EQ(RemoveQuietly(), 9u);
    EXPECT_EQ(Perform(example.Start("SETUP.EXE", "/LOG=" + example.Dir() + "Setup.lst\\x.log"),  // a record that cannot be
                      {{"#32770", "OK", "Protokolldatei"}, {"#32770", "OK", "Adressen läuft bereits"}}),
              9u);
    EXPECT_EQ(RunQuietly(other.Dir() + "SETUP.EXE", "/q"), 0u);
    EXPECT_TRUE(FileExists("C:\\Programme\\Andere\\ADRESSEN.EXE"));
    EXPECT_EQ(RemoveQuietly(UninstallKeyOf("Andere")), 0u);
    Kill(holder);
  }
  // Large enough to last while the others start: larger where the machine is not emulated.
  const int count = Patience(1000) > 1000 ? 300 : 1500;
  Distribution big("lock_big");
  script = "[General]\r\nName=Adressen\r\ndefaultPath=" + InstallDir +
           "\r\n[StartMenu]\r\nFolder=Adressen\r\n"
           "[Group]\r\nName=Adressen\r\n[programfiles]\r\n";
  for (int i = 1; i <= count; ++i) {
    const std::string name = "DATEN" + std::to_string(i) + ".DAT";
    big.AddFile(name, std::string(256 * 1024, static_cast<char>('a' + i % 26)));
    script += std::to_string(i) + "=" + name + "\r\n";
  }
  big.AddProgram(script);
  const Program first = big.Start("SETUP.EXE", "/q");  // the killed run held nothing
  ASSERT_TRUE(WaitUntil([&] { return FileExists(InstallDir + "\\DATEN1.DAT"); }, 60000));
  const Program removal = StartProgram(SystemDir() + "cmd.exe", "/c " + RegistrationValue("QuietUninstallString").second);
  EXPECT_EQ(RunQuietly(big.Dir() + "SETUP.EXE", "/q", 20000), 9u);
  DWORD code = 99;
  ASSERT_TRUE(WaitForExit(removal, Patience(20000), code));
  EXPECT_EQ(code, 9u);
  EXPECT_FALSE(WaitForExit(first, 0, code)) << "the installation ended before the others began: make it larger";
  ASSERT_TRUE(WaitForExit(first, Patience(120000), code));
  EXPECT_EQ(code, 0u);
  const std::string log = LowerCase(LogFileText(InstallDir + "\\" + InstallLogName));
  for (int i = 1; i <= count; ++i) {
    const std::string line = "\\daten" + std::to_string(i) + ".dat\r\n";
    const size_t at = log.find(line);
    EXPECT_TRUE(at != std::string::npos && log.find(line, at + 1) == std::string::npos) << line;
  }
  EXPECT_FALSE(FileExists(InstallDir + "\\ADRESSEN.EXE")) << "version 1's file, not part of this one";
  EXPECT_EQ(RemoveQuietly(), 0u);
  ExpectUnchanged(before);
}

#include "install/install_log.h"

#include <gtest/gtest.h>

#include <array>

#include "env/ini_file.h"
#include "env/paths.h"
#include "env/settings.h"
#include "env/text_file.h"
#include "tests/win/win_test_util.h"
#include "tools/driver/driver.h"

namespace {
void SetRun(const std::string& dir, const std::string& name) {
  InstallDir = dir;
  ProgramName = name;
  GroupName = "Adressen";
  StartMenuFolder = "Adressen";
}
}  // namespace

TEST(InstallLog, AFreshLogHasExactlyTheTextOfTheProfileFunctions) {
  struct Case {
    const char* name;
    const char* group;
    const char* folder;
    std::vector<unsigned> numbers;
    bool touchedBetween;        // another writer adds a section after the first entry
    bool groupChanges = false;  // the group's name alternates between a long and a short one
    bool origins = false;       // some files were found there, some are shared
  };
  std::vector<unsigned> many;
  for (unsigned n = 1; n <= 300; ++n) many.push_back(n);
  const Case cases[] = {
      {"Adressen", "Adressen", "Adressen", {1, 2, 3, 4, 5}, false},    {"", "Gruppex", "", {2, 3, 7}, false},
      {"Grüße & Co", "Grüße", "Kasse", many, false, false, true},      {"Adressen", "Adressen", "Adressen", {1, 2, 3}, true},
      {"Adressen", "Adressen", "Adressen", {1, 2, 3, 4}, false, true},
  };
  int run = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(run);
    TempFolder ours("log_own" + std::to_string(run)), reference("log_ref" + std::to_string(run));
    ++run;
    // The system's functions keep a file in the form it has: ours begins as a UTF-16 one.
    const IniFile api(reference.Path() + "INSTALL1.LOG");
    WriteFileBytes(api.Path(), ProfileFileStart());
    bool first = true;
    SetRun(ours.Path(), c.name);
    for (const unsigned n : c.numbers) {
      GroupName = c.groupChanges && n % 2 ? "Eine lange Gruppe" : c.group;
      StartMenuFolder = c.folder;
      const std::string origin = !c.origins ? "" : n % 7 == 0 ? "found" : n % 11 == 0 ? "found,shared" : "";
      EXPECT_TRUE(LogInstalledFile(n, "c:\\programme\\Ωmega Łódź\\datei" + std::to_string(n) + ".exe", origin));
      if (first && *c.name) api.WriteString("General", "Name", c.name);
      api.WriteString("InstalledFiles", "File" + std::to_string(n), "c:\\programme\\Ωmega Łódź\\datei" + std::to_string(n) + ".exe");
      api.WriteString("Group", "Name", GroupName);
      api.WriteString("StartMenu", "Folder", c.folder);
      if (!origin.empty()) api.WriteString("FileOrigins", "File" + std::to_string(n), origin);
      if (first && c.touchedBetween) {
        IniFile(InstallLogPath()).WriteString("Fremd", "Schluessel", "Wert");
        api.WriteString("Fremd", "Schluessel", "Wert");
      }
      first = false;
    }
    EXPECT_TRUE(LogUserAccount("C:\\users\\Public"));
    api.WriteString("BenutzerKonto", "UserName", "C:\\users\\Public");
    EXPECT_EQ(FileText(ours.Path() + "INSTALL1.LOG"), FileText(api.Path()));
    const std::vector<LoggedFile> read = ReadLoggedFiles(api.Path());
    ASSERT_EQ(read.size(), c.numbers.size());
    EXPECT_EQ(read[0].path, "c:\\programme\\Ωmega Łódź\\datei" + std::to_string(c.numbers[0]) + ".exe");
    EXPECT_EQ(c.origins ? read[65].origin + "|" + read[69].origin + "|" + read[75].origin + "|" + DecimalText(read[299].number) : "",
              c.origins ? "found,shared|found||300" : "");
  }
}

TEST(InstallLog, AnEarlierLogIsUpdatedInPlace) {
  TempFolder temp("log_earlier");
  temp.File("INSTALL1.LOG",
            "[General]\r\nName=Alt\r\n[InstalledFiles]\r\nFile1=c:\\alt\\a.exe\r\n"
            "File2=c:\\alt\\b.exe\r\n[Group]\r\nName=Alt\r\n[StartMenu]\r\nFolder=Alt\r\n"
            "[BenutzerKonto]\r\nUserName=x\r\n");
  SetRun(temp.Path(), "Adressen");
  EXPECT_TRUE(LogInstalledFile(1, "c:\\neu\\a.exe"));
  EXPECT_EQ(FileText(temp.Path() + "INSTALL1.LOG"),
            "[General]\r\nName=Adressen\r\n[InstalledFiles]\r\nFile1=c:\\neu\\a.exe\r\n"
            "File2=c:\\alt\\b.exe\r\n[Group]\r\nName=Adressen\r\n[StartMenu]\r\nFolder=Adressen\r\n"
            "[BenutzerKonto]\r\nUserName=x\r\n");
}

// In numeric order, and named as Windows names them (an earlier version logged paths as given).
TEST(InstallLog, EveryFileKeyIsReadInNumericOrder) {
  TempFolder temp("log_read");
  temp.File("install1.log",
            "[installedfiles]\r\nFile10=c:\\a\\j\r\nfile2=c:\\a\\b\r\nFILE1=c:\\a\\a\r\n"
            "Filex=c:\\nein\r\nFile=c:\\nein\r\nAnders=c:\\nein\r\nFile3=\r\nFile4=c:\\a\\\\x\\..\\.\\k. \r\n"
            "File5=c:\\..\\l\r\n[CreatedFolders]\r\nFolder1=c:\\a\\\\\r\n");
  std::string paths;
  for (const LoggedFile& file : ReadLoggedFiles(temp.Path() + "install1.log")) paths += file.path + "|";
  EXPECT_EQ(paths, "c:\\a\\a|c:\\a\\b||c:\\a\\k|c:\\..\\l|c:\\a\\j|");
  EXPECT_EQ(ReadCreatedFolders(temp.Path() + "install1.log"), std::vector<std::string>{"c:\\a"});
  EXPECT_TRUE(ReadLoggedFiles(temp.Path() + "fehlt.log").empty());
}

TEST(InstallLog, AFailedWriteIsReported) {
  SetRun("C:\\wintest\\gibt es nicht\\Adressen", "Adressen");
  EXPECT_FALSE(LogInstalledFile(1, "c:\\x\\adressen.exe"));
  EXPECT_FALSE(LogUserAccount("C:\\Profile\\Anna"));
  EXPECT_FALSE(LogShortcut("C:\\Gruppe\\Adressen.LNK"));
}

// An upgrade writes the earlier log whole and goes on from its last entry: the sections it
// does not write stay, the states come back as they went in, and a failed run puts back the
// bytes it found.
TEST(InstallLog, ARewrittenLogKeepsWhatItDoesNotWriteAndIsContinued) {
  TempFolder temp("log_rewrite");
  const std::string earlier =
      "[General]\r\nName=Alt\r\n[FileStates]\r\nFile2=9,ff\r\n[InstalledFiles]\r\nFile1=c:\\alt\\a.exe\r\n"
      "File2=c:\\alt\\b.txt\r\n[Group]\r\nName=Alt\r\n[StartMenu]\r\nFolder=Adressen\r\n"
      "[BenutzerKonto]\r\nUserName=C:\\Users\\Anna\r\n[FileOrigins]\r\nFile2=found\r\n"
      "[Shortcuts]\r\nLink1=C:\\Gruppe\\Alt.LNK\r\n[Spaeter]\r\nx=1";
  temp.File("INSTALL1.LOG", earlier);
  SetRun(temp.Path(), "Adressen");
  const std::vector<LoggedFile> files = ReadLoggedFiles(temp.Path() + "INSTALL1.LOG");
  ASSERT_EQ(files.size(), 2u);
  EXPECT_EQ(files[0].state, "");
  EXPECT_EQ(files[1].path + " " + files[1].state + " " + files[1].origin, "c:\\alt\\b.txt 9,ff found");
  ASSERT_TRUE(RewriteLog({files[1], {"c:\\alt\\c.dll", "3,aa", "shared"}}));
  EXPECT_TRUE(LogInstalledFile(3, "c:\\neu\\d.exe", "found"));
  const std::string log = temp.Path() + "INSTALL1.LOG";
  const std::vector<LoggedFile> now = ReadLoggedFiles(log);
  ASSERT_EQ(now.size(), 3u);
  EXPECT_EQ(now[0].path + " " + now[0].state + "|" + now[1].path + " " + now[1].state + "|" + now[2].path + " " + now[2].state,
            "c:\\alt\\b.txt 9,ff|c:\\alt\\c.dll 3,aa|c:\\neu\\d.exe ");
  EXPECT_EQ(now[0].origin + "|" + now[1].origin + "|" + now[2].origin, "found|shared|found") << "renumbered with their files";
  // Each shortcut once, the earlier version's kept.
  for (const char* link : {"c:\\gruppe\\alt.lnk", "C:\\Gruppe\\Neu.LNK", "C:\\Gruppe\\Neu.LNK"}) EXPECT_TRUE(LogShortcut(link));
  EXPECT_EQ(ReadShortcuts(log), (std::vector<std::string>{"C:\\Gruppe\\Alt.LNK", "C:\\Gruppe\\Neu.LNK"}));
  const IniFile ini(log);
  for (const auto& [section, key, value] : std::vector<std::array<std::string, 3>>{{"General", "Name", "Adressen"},
                                                                                   {"BenutzerKonto", "UserName", "C:\\Users\\Anna"},
                                                                                   {"Spaeter", "x", "1"},
                                                                                   {"Group", "Name", "Adressen"}})
    EXPECT_EQ(ini.ReadString(section, key, "-"), value) << section;
  EXPECT_EQ(FileText(log).find("Name=Alt"), std::string::npos);

  EXPECT_TRUE(RestoreLog(earlier));
  EXPECT_EQ(FileText(log), earlier);
  EXPECT_TRUE(RestoreLog(std::nullopt));
  EXPECT_FALSE(Exists(log));
}

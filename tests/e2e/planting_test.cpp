// Libraries planted beside SETUP.EXE, as anyone who can write to a download folder could:
// the installer, which runs with administrator rights, must load none of them.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <set>

#include "env/system_names.h"
#include "env/deletion.h"
#include "env/file_system.h"
#include "env/paths.h"
#include "tests/e2e/harness.h"
#include "tests/win/win_test_util.h"

namespace {
// Libraries that are no known DLL, which the program or the system on its behalf loads by
// name. Left out: those that Wine's own system libraries import before any code of the
// program runs (Wine's user32 imports version.dll and loads imm32.dll as it starts, its
// shell32 imports shlwapi.dll and that one shcore.dll); Windows' own do not, or take them
// as known DLLs.
const char* const Planted[] = {"comctl32", "uxtheme", "ole32",   "oleaut32", "msctf",   "dwmapi",
                               "propsys",  "apphelp", "userenv", "linkinfo", "ntshrui", "clbcatq"};
// Wine prefers a library found on the search path for these names, as Windows does for any
// name that is no known DLL.
class PlantedLibraries {
 public:
  explicit PlantedLibraries(const std::string& dir) {
    std::string overrides = "winemenubuilder.exe=d;mscoree=;mshtml=;";
    for (const char* name : Planted) {
      CopyFileNamed((SystemDir() + name + ".dll"), (dir + name + ".dll"), FALSE);
      overrides += std::string(name) + ",";
    }
    overrides.back() = '=';
    overrides_ = overrides + "n,b";
  }
  // Starts exe in its folder under those overrides (only it: the test's own later programs
  // run as usual).
  Program Start(const std::string& exe, const std::string& arguments) const {
    char before[1024] = "";
    GetEnvironmentVariableA("WINEDLLOVERRIDES", before, sizeof before);
    SetEnvironmentVariableA("WINEDLLOVERRIDES", overrides_.c_str());
    Program program = StartProgram(exe, arguments);
    SetEnvironmentVariableA("WINEDLLOVERRIDES", before);
    return program;
  }

 private:
  std::string overrides_;
};

// Every library in the process now, by full path in capitals.
void AddModules(DWORD pid, std::set<std::string>& modules) {
  KernelHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, pid));
  if (snapshot.Get() == INVALID_HANDLE_VALUE) return;
  MODULEENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Module32First(snapshot.Get(), &entry); more; more = Module32Next(snapshot.Get(), &entry))
    modules.insert(UpperCase(entry.szExePath));
}

// The libraries of the set that lie in the folder, one line each.
std::string Within(const std::set<std::string>& modules, const std::string& dir) {
  std::string found;
  for (const std::string& path : modules)
    if (path.starts_with(UpperCase(dir)) && path.ends_with(".DLL")) found += path + "\n";
  return found;
}

// Runs the program to its end (through the steps, or quietly), looking at its libraries all
// the while: its exit code.
DWORD RunWatched(const Program& program, Steps steps, std::set<std::string>& modules) {
  DWORD code = 99;
  if (steps.empty()) {
    WaitUntil(
        [&] {
          AddModules(program.pid, modules);
          return WaitForExit(program, 0, code);
        },
        60000);
    return code;
  }
  for (Step& step : steps)
    step.act = [&modules, &program, act = step.act](HWND window) {
      AddModules(program.pid, modules);
      if (act) act(window);
    };
  return Perform(program, steps);
}
}  // namespace

// Planted beside SETUP.EXE (installed quietly and attended), and beside the uninstaller in
// the program directory, where a deployment tool may have copied more than the program.
TEST(Planting, NoLibraryIsLoadedFromTheProgramsOwnFolder) {
  for (const char* how : {"quiet", "attended", "removal"}) {
    SCOPED_TRACE(how);
    const bool removal = how == std::string("removal");
    std::string dir = InstallDir + "\\";  // the installation the attended run made
    if (!removal) {
      PrepareMachine();
      DeleteTree(InstallDir);
      dir = ExampleDistribution(std::string("planted_") + how).Dir();
    }
    const PlantedLibraries planted(dir);
    const Program program = planted.Start(dir + (removal ? "Uninstal.exe" : "SETUP.EXE"), how == std::string("attended") ? "" : "/q");
    std::set<std::string> modules;
    const Steps steps = how == std::string("attended") ? WalkWizard(InstallDir) + FinishSteps() : Steps{};
    EXPECT_EQ(RunWatched(program, steps, modules), 0u);
    EXPECT_NE(FileExists(InstallDir + "\\ADRESSEN.EXE"), removal) << "installed, or removed";
    EXPECT_NE(Within(modules, SystemDir()), "") << "no library of the process was seen: the test sees nothing";
    EXPECT_EQ(Within(modules, dir), "");
    EXPECT_EQ(how == std::string("quiet") ? RemoveInstallation(true) : 0u, 0u);
  }
  DeleteTree(InstallDir);
}

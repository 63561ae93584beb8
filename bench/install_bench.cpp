// The quiet installation of a distribution that `distkit build` made, timed as a whole run,
// in phases that bench/install.sh runs with the disk's write-back emptied in between:
//   install_bench prepare COUNT  builds C:\bench\<COUNT>\ from generated program files (half
//                                of them compressed by the build, about 50 KB each), the same
//                                as one file, and version 2 of it (the same files)
//   install_bench install COUNT  runs SETUP.EXE /q on it, timed, and checks what arrived
//   install_bench bundle COUNT   the same from the one file
//   install_bench upgrade COUNT  version 2 over the installed version 1, /q, timed
//   install_bench remove COUNT   removes the installation through its Uninstal.exe /q, timed
//   install_bench log COUNT      times the install log's entries for those files alone
//   install_bench floor COUNT    times the least any installer does for the same files
//   install_bench unfloor COUNT  times the floor program's bare delete loop over what it put there
//   install_bench sha COUNT      the SHA-256 throughput of the installer's code, in MB/s, each
//                                way this processor allows, over COUNT MB in 16 KB blocks
//   install_bench clean COUNT    removes it all again
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "build.h"
#include "bundle.h"
#include "codec/name_mapping.h"
#include "codec/sha256.h"
#include "env/deletion.h"
#include "env/folders.h"
#include "env/install_names.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "env/settings.h"
#include "install/install_log.h"
#include "bench/bench_files.h"
#include "tools/driver/driver.h"

namespace {
constexpr int Kinds = 16;  // distinct file contents; sizes from 20 KB to 80 KB
constexpr char Name[] = "SetupBench";

double Seconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Text-like data that compresses to about half.
std::string Content(int kind) {
  const size_t size = 20000 + static_cast<size_t>(kind) * 4000;
  std::string text;
  unsigned state = 12345u + static_cast<unsigned>(kind);
  while (text.size() < size) {
    state = state * 1103515245u + 12345u;
    text += "Eintrag " + std::to_string(state >> 8) +
            (state & 0x100 ? " Musterstra\xDF"
                             "e\r\n"
                           : " Bonn\r\n");
  }
  text.resize(size);
  return text;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  KernelHandle file = FromCreateFile(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::string DistDir(int count) { return "C:\\bench\\" + std::to_string(count) + "\\"; }
std::string SecondDir(int count) { return "C:\\bench\\" + std::to_string(count) + "-v2"; }
std::string BundleDir(int count) { return "C:\\bench\\" + std::to_string(count) + "-one\\"; }
std::string BundlePath(int count) { return BundleDir(count) + "Bench-Setup.exe"; }
std::string TargetDir(int count) { return DistDir(count) + "target"; }

// The packager's source folder of one version, built into a distribution as distkit build does.
std::string Build(int count, const char* version, const std::string& dist) {
  const std::string src = DistDir(count) + "src-" + version + "\\";
  CreateDirectoryA(src.c_str(), nullptr);
  std::string script = std::string("[General]\r\nName=") + Name + "\r\nVersion=" + version +
                       "\r\ndefaultPath=" + TargetDir(count) + "\r\n[StartMenu]\r\nFolder=" + Name +
                       "\r\n[Group]\r\nName=" + Name + "\r\n[programfiles]\r\n";
  for (int i = 1; i <= count; ++i) {
    const std::string name = FileName(i, i % 2 == 0);
    script += std::to_string(i) + "=" + name + "\r\n";
    if (!WriteWholeFile(src + MapCompressedName(name), Content(i % Kinds))) return "cannot write " + name;
  }
  const std::string text = "Zum Messen.\r\n";
  if (!WriteWholeFile(src + "Setup.lst", script) || !WriteWholeFile(src + "Liesmich.txt", text) ||
      !WriteWholeFile(src + "Vertrag.Txt", text))
    return "cannot write the script";
  const std::string problem = BuildDistribution(src, dist, GetExeDirectory() + "SETUP.EXE");
  DeleteTree(src);
  return problem;
}

bool Prepare(int count) {
  for (const std::string& dir : {DistDir(count), SecondDir(count), BundleDir(count)}) DeleteTree(dir);
  CreateDirectoryA("C:\\bench", nullptr);
  CreateDirectoryA(DistDir(count).c_str(), nullptr);
  std::string problem = Build(count, "1.0", DistDir(count) + "dist");
  if (problem.empty()) problem = Build(count, "2.0", SecondDir(count));
  CreateDirectoryA(BundleDir(count).c_str(), nullptr);
  if (problem.empty()) problem = BundleDistribution(DistDir(count) + "dist", BundlePath(count), {});
  if (!problem.empty()) std::printf("%s\n", problem.c_str());
  std::printf("%d files, %.1f MB to install\n", count, count * (20000 + 4000 * (Kinds - 1) / 2) / 1e6);
  return problem.empty();
}

// A quiet run of program with arguments, timed from its start to its end; false unless it
// ends with status 0.
bool TimedRun(const std::string& program, const std::string& arguments, double& seconds) {
  const double start = Seconds();
  Program run = StartProgram(program, arguments);
  DWORD code = 99;
  if (!WaitForExit(run, 3600 * 1000, code)) return false;
  seconds = Seconds() - start;
  if (code != 0) std::printf("%s ended with exit status %lu\n", program.c_str(), code);
  return code == 0;
}

// SETUP.EXE /q from the folder, the one file or version 2's folder, timed; then a look at
// what arrived.
bool Install(int count, const std::string& phase) {
  const std::string target = TargetDir(count);
  const std::string program = phase == "bundle"    ? BundlePath(count)
                              : phase == "upgrade" ? SecondDir(count) + "\\SETUP.EXE"
                                                   : DistDir(count) + "dist\\SETUP.EXE";
  double seconds = 0;
  if (!TimedRun(program, "/q", seconds)) return false;
  for (int i = 1; i <= count; i += count / 50)
    if (FileText(target + "\\" + FileName(i, false)) != Content(i % Kinds)) {
      std::printf("%s arrived wrong\n", FileName(i, false).c_str());
      return false;
    }
  const std::vector<LoggedFile> logged = ReadLoggedFiles(target + "\\" + InstallLogName);
  if (logged.size() != static_cast<size_t>(count) + 1) {
    std::printf("the log does not list every file\n");
    return false;
  }
  for (const LoggedFile& file : logged)
    if (file.state.empty()) {
      std::printf("the log records no state of %s\n", file.path.c_str());
      return false;
    }
  std::printf("%s %d %.3f\n", phase.c_str(), count, seconds);
  return true;
}

// The log's entries alone, for the same files, into a fresh folder; timed by the thousand
// as well, since an entry must cost the same however long the log is.
bool Log(int count) {
  InstallDir = DistDir(count) + "logonly";
  CreateDirectoryA(InstallDir.c_str(), nullptr);
  ProgramName = GroupName = StartMenuFolder = Name;
  const std::string dir = LowerCase(DistDir(count)) + "target\\";
  std::vector<double> blocks;
  const double start = Seconds();
  double blockStart = start;
  for (int i = 1; i <= count; ++i) {
    LogInstalledFile(static_cast<unsigned>(i), dir + FileName(i, false));
    if (i % 1000 == 0) {
      const double now = Seconds();
      blocks.push_back(now - blockStart);
      blockStart = now;
    }
  }
  std::printf("log %d %.3f", count, Seconds() - start);
  if (!blocks.empty()) std::printf(" %.3f %.3f", blocks.front(), blocks.back());
  std::printf("\n");
  return true;
}

// The floor program (install_floor.exe) on the same files, started and timed as SETUP.EXE is;
// deleting, its bare delete loop over what it put there.
bool Floor(int count, bool deleting) {
  const double start = Seconds();
  Program floor = StartProgram(GetExeDirectory() + "install_floor.exe",
                               DistDir(count) + "dist\\ " + std::to_string(count) + (deleting ? " delete" : ""));
  DWORD code = 99;
  if (!WaitForExit(floor, 3600 * 1000, code) || code != 0) return false;
  std::printf("%s %d %.3f\n", deleting ? "unfloor" : "floor", count, Seconds() - start);
  return true;
}

// The quiet removal through the installation's Uninstal.exe /q, timed from its start to its end.
bool Remove(int count) {
  const std::string target = TargetDir(count);
  double seconds = 0;
  if (!TimedRun(target + "\\Uninstal.exe", "/q", seconds)) return false;
  for (int i = 1; i <= count; i += count / 50)
    if (GetFileAttributesA((target + "\\" + FileName(i, false)).c_str()) != INVALID_FILE_ATTRIBUTES) {
      std::printf("%s is still there\n", FileName(i, false).c_str());
      return false;
    }
  // The next phase must not meet the batch file that removes Uninstal.exe and the directory.
  for (int wait = 0; wait < 300 && GetFileAttributesA(target.c_str()) != INVALID_FILE_ATTRIBUTES; ++wait) Sleep(100);
  std::printf("remove %d %.3f\n", count, seconds);
  return true;
}

// Each way of computing SHA-256 over megabytes MB of data, 16 KB at a time (as openssl speed
// counts it).
bool HashSpeed(int megabytes) {
  const std::string block = Content(3).substr(0, 16384);
  const auto speed = [&](Sha256Blocks blocks) {
    Sha256 sha(blocks);
    const double start = Seconds();
    for (int i = 0; i < megabytes * 64; ++i) sha.Add(reinterpret_cast<const uint8_t*>(block.data()), block.size());
    sha.HexDigest();
    return megabytes * 1.048576 / (Seconds() - start);
  };
  std::printf("sha %d %.0f", megabytes, speed(Sha256BlocksPortable));
  if (ShaInstructionsUsable()) std::printf(" %.0f", speed(Sha256BlocksShaInstructions));
  std::printf("\n");
  return true;
}

bool Clean(int count) {
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, UninstallKeyOf(Name));
  char programs[MAX_PATH] = {};
  if (SHGetSpecialFolderPathA(nullptr, programs, CSIDL_PROGRAMS, FALSE))
    RemoveDirectoryA((std::string(programs) + "\\" + Name).c_str());
  for (const std::string& dir : {DistDir(count), SecondDir(count), BundleDir(count)}) DeleteTree(dir);
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string phase = argc == 3 ? argv[1] : "";
  const int count = argc == 3 ? std::atoi(argv[2]) : 0;
  bool done = false;
  if (count >= 50) {
    if (phase == "prepare") done = Prepare(count);
    if (phase == "install" || phase == "bundle" || phase == "upgrade") done = Install(count, phase);
    if (phase == "sha") done = HashSpeed(count);
    if (phase == "remove") done = Remove(count);
    if (phase == "log") done = Log(count);
    if (phase == "floor" || phase == "unfloor") done = Floor(count, phase == "unfloor");
    if (phase == "clean") done = Clean(count);
  }
  if (!done)
    std::printf("install_bench prepare|install|bundle|upgrade|remove|log|floor|unfloor|sha|clean COUNT: failed\n");
  return done ? 0 : 1;
}

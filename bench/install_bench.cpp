// The unattended installation of a generated distribution, timed per file, in phases that
// bench/install.sh runs with the disk's write-back emptied in between:
//   install_bench prepare COUNT  builds C:\bench\<COUNT>\ (half the files plain, half
//                                compressed, about 50 KB each)
//                                with their checksums, and the same as one file
//   install_bench install COUNT  runs SETUP.EXE /s on it, timed, and checks what arrived
//   install_bench bundle COUNT   the same from the one file
//   install_bench remove COUNT   removes the installation through its Uninstal.exe /q, timed
//   install_bench log COUNT      times the install log's entries for those files alone
//   install_bench floor COUNT    times the least any installer does for the same files
//   install_bench unfloor COUNT  times the floor program's bare delete loop over what it put there
//   install_bench clean COUNT    removes it all again
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
#include "forms/forms.h"
#include "install/install_log.h"
#include "lzh_encoder.h"
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
    text += "Eintrag " + std::to_string(state >> 8) + (state & 0x100 ? " Musterstra\xDF" "e\r\n" : " Bonn\r\n");
  }
  text.resize(size);
  return text;
}

bool WriteWholeFile(const std::string& path, const std::string& bytes) {
  KernelHandle file = FromCreateFile(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return file && WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::string DistDir(int count) { return "C:\\bench\\" + std::to_string(count) + "\\"; }
std::string BundleDir(int count) { return "C:\\bench\\" + std::to_string(count) + "-one\\"; }
std::string BundlePath(int count) { return BundleDir(count) + "Bench-Setup.exe"; }

// The distribution: SETUP.EXE, the script and count files, every second one compressed.
bool Prepare(int count) {
  const std::string dist = DistDir(count);
  DeleteTree(dist);
  CreateDirectoryA("C:\\bench", nullptr);
  CreateDirectoryA(dist.c_str(), nullptr);
  if (!CopyFileA((GetExeDirectory() + "SETUP.EXE").c_str(), (dist + "SETUP.EXE").c_str(), FALSE))
    return false;
  std::vector<std::string> plain(Kinds), packed(Kinds);
  for (int kind = 0; kind < Kinds; ++kind) {
    plain[kind] = Content(kind);
    const std::vector<uint8_t> bytes(plain[kind].begin(), plain[kind].end());
    const std::vector<uint8_t> compressed = lzh::Compress(bytes);
    packed[kind].assign(compressed.begin(), compressed.end());
  }
  std::string script = std::string("[General]\r\nName=") + Name + "\r\ndefaultPath=" + dist +
                       "target\r\n[StartMenu]\r\nFolder=" + Name + "\r\n[Group]\r\nName=" + Name +
                       "\r\n[programfiles]\r\n";
  size_t bytes = 0;
  const std::string text = "Zum Messen.\r\n";
  std::string checksums = std::string("[") + ChecksumSection + "]\r\nLiesmich.txt=" + Sha256Of(text) +
                          "\r\nVertrag.Txt=" + Sha256Of(text) + "\r\n";
  for (int i = 1; i <= count; ++i) {
    const bool compressed = i % 2 == 0;
    const int kind = i % Kinds;
    const std::string& content = compressed ? packed[kind] : plain[kind];
    script += std::to_string(i) + "=" + FileName(i, compressed) + "\r\n";
    checksums += FileName(i, compressed) + "=" + Sha256Of(content) + "\r\n";
    if (!WriteWholeFile(dist + FileName(i, compressed), content)) return false;
    bytes += plain[kind].size();
  }
  std::printf("%d files, %.1f MB to install\n", count, static_cast<double>(bytes) / 1e6);
  DeleteTree(BundleDir(count));
  CreateDirectoryA(BundleDir(count).c_str(), nullptr);
  return WriteWholeFile(dist + "Setup.lst", script + checksums) && WriteWholeFile(dist + "Liesmich.txt", text) &&
         WriteWholeFile(dist + "Vertrag.Txt", text) && BundleDistribution(dist, BundlePath(count), {}).empty();
}

// The start window's timers run before the wizard walks or the removal begins: a fixed wait,
// not per-file work. A removal waits for the first only.
int StartTimers(bool removal) {
  int timers = 0;
  for (const ControlDesc& control : SetupFormDesc.controls)
    if (control.kind == ControlKind::Timer && (!removal || std::string_view(control.name) == SetupForm::Timer1))
      timers += control.interval;
  return timers;
}

// SETUP.EXE /s, or the one file, timed; then a look at what arrived.
bool Install(int count, bool bundled) {
  const std::string dist = DistDir(count), target = dist + "target";
  const double start = Seconds();
  Program setup = StartProgram(bundled ? BundlePath(count) : dist + "SETUP.EXE", "/s");
  DWORD code = 99;
  if (!WaitForExit(setup, 3600 * 1000, code)) return false;
  const double seconds = Seconds() - start;
  if (code != 0) {
    std::printf("SETUP.EXE ended with exit status %lu\n", code);
    return false;
  }
  for (int i = 1; i <= count; i += count / 50)
    if (FileText(target + "\\" + FileName(i, false)) != Content(i % Kinds)) {
      std::printf("%s arrived wrong\n", FileName(i, false).c_str());
      return false;
    }
  if (ReadLoggedFiles(target + "\\" + InstallLogName).size() != static_cast<size_t>(count) + 1) {
    std::printf("the log does not list every file\n");
    return false;
  }
  std::printf("%s %d %.3f %.3f\n", bundled ? "bundle" : "install", count, seconds, StartTimers(false) / 1000.0);
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
                               DistDir(count) + " " + std::to_string(count) + (deleting ? " delete" : ""));
  DWORD code = 99;
  if (!WaitForExit(floor, 3600 * 1000, code) || code != 0) return false;
  std::printf("%s %d %.3f\n", deleting ? "unfloor" : "floor", count, Seconds() - start);
  return true;
}

// The quiet removal through the installation's Uninstal.exe /q (no pauses, no windows: the
// removal's own cost per file), timed from its start to its end.
bool Remove(int count) {
  const std::string target = DistDir(count) + "target";
  const double start = Seconds();
  Program removal = StartProgram(target + "\\Uninstal.exe", "/q");
  DWORD code = 99;
  if (!WaitForExit(removal, 3600 * 1000, code) || code != 0) return false;
  const double seconds = Seconds() - start;
  for (int i = 1; i <= count; i += count / 50)
    if (GetFileAttributesA((target + "\\" + FileName(i, false)).c_str()) != INVALID_FILE_ATTRIBUTES) {
      std::printf("%s is still there\n", FileName(i, false).c_str());
      return false;
    }
  std::printf("remove %d %.3f %.3f\n", count, seconds, StartTimers(true) / 1000.0);
  return true;
}

bool Clean(int count) {
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, UninstallKeyOf(Name));
  char programs[MAX_PATH] = {};
  if (SHGetSpecialFolderPathA(nullptr, programs, CSIDL_PROGRAMS, FALSE))
    RemoveDirectoryA((std::string(programs) + "\\" + Name).c_str());
  DeleteTree(DistDir(count));
  DeleteTree(BundleDir(count));
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  const std::string phase = argc == 3 ? argv[1] : "";
  const int count = argc == 3 ? std::atoi(argv[2]) : 0;
  bool done = false;
  if (count >= 50) {
    if (phase == "prepare") done = Prepare(count);
    if (phase == "install" || phase == "bundle") done = Install(count, phase == "bundle");
    if (phase == "remove") done = Remove(count);
    if (phase == "log") done = Log(count);
    if (phase == "floor" || phase == "unfloor") done = Floor(count, phase == "unfloor");
    if (phase == "clean") done = Clean(count);
  }
  if (!done) std::printf("install_bench prepare|install|bundle|remove|log|floor|unfloor|clean COUNT: failed\n");
  return done ? 0 : 1;
}

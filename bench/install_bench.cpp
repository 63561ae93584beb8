// The unattended installation of a generated distribution, timed per file:
//   install_bench COUNT...
// For each COUNT it builds C:\bench\<COUNT>\ (half the files plain, half compressed, about
// 50 KB each), runs SETUP.EXE /s on it, checks what arrived, and times the install log's
// entries for the same files on their own, to show their share of the time.
#include <windows.h>

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "env/deletion.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "env/settings.h"
#include "install/install_log.h"
#include "lzh_encoder.h"
#include "tests/e2e/driver.h"
#include "transfer/folders.h"

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

std::string FileName(int i, bool compressed) {
  char name[16];
  std::snprintf(name, sizeof name, "F%05d.DA%c", i, compressed ? '_' : 'T');
  return name;
}

struct Result {
  double install = 0, log = 0;  // seconds
  std::vector<double> blocks;   // the log's entries by the thousand
};

bool Run(int count, Result& result) {
  const std::string dist = "C:\\bench\\" + std::to_string(count) + "\\";
  const std::string target = dist + "target";
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
  std::string script = std::string("[General]\r\nName=") + Name + "\r\ndefaultPath=" + target +
                       "\r\n[StartMenu]\r\nFolder=" + Name + "\r\n[Group]\r\nName=" + Name +
                       "\r\n[programfiles]\r\n";
  size_t bytes = 0;
  for (int i = 1; i <= count; ++i) {
    const bool compressed = i % 2 == 0;
    const int kind = i % Kinds;
    script += std::to_string(i) + "=" + FileName(i, compressed) + "\r\n";
    if (!WriteWholeFile(dist + FileName(i, compressed), compressed ? packed[kind] : plain[kind])) return false;
    bytes += plain[kind].size();
  }
  if (!WriteWholeFile(dist + "Setup.lst", script) ||
      !WriteWholeFile(dist + "Liesmich.txt", "Zum Messen.\r\n") ||
      !WriteWholeFile(dist + "Vertrag.Txt", "Zum Messen.\r\n"))
    return false;
  std::printf("%d files, %.1f MB installed\n", count, static_cast<double>(bytes) / 1e6);

  const double start = Seconds();
  Program setup = StartProgram(dist + "SETUP.EXE", "/s");
  DWORD code = 99;
  if (!WaitForExit(setup, 3600 * 1000, code)) return false;
  result.install = Seconds() - start;
  if (code != 0) {
    std::printf("SETUP.EXE ended with exit status %lu\n", code);
    return false;
  }
  for (int i = 1; i <= count; i += count / 50) {
    const bool compressed = i % 2 == 0;
    if (FileText(target + "\\" + FileName(i, false)) != plain[i % Kinds]) {
      std::printf("%s arrived wrong\n", FileName(i, compressed).c_str());
      return false;
    }
  }
  if (ReadInstalledFiles(target + "\\install1.log").size() != static_cast<size_t>(count) + 1) {
    std::printf("the log does not list every file\n");
    return false;
  }

  // The log's entries alone, for the same files, into a fresh folder.
  InstallDir = dist + "logonly";
  CreateDirectoryA(InstallDir.c_str(), nullptr);
  ProgramName = GroupName = StartMenuFolder = Name;
  const std::string dir = LowerCase(target) + "\\";
  // Timed by the thousand as well: an entry must cost the same however long the log is.
  double logStart = Seconds(), blockStart = logStart;
  for (int i = 1; i <= count; ++i) {
    LogInstalledFile(static_cast<unsigned>(i), dir + FileName(i, false));
    if (i % 1000 == 0 || i == count) {
      const double now = Seconds();
      result.blocks.push_back(now - blockStart);
      blockStart = now;
    }
  }
  result.log = Seconds() - logStart;

  DeleteRegistryTree(HKEY_LOCAL_MACHINE,
                     std::string("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\") + Name);
  char programs[MAX_PATH] = {};
  if (SHGetSpecialFolderPathA(nullptr, programs, CSIDL_PROGRAMS, FALSE))
    RemoveDirectoryA((std::string(programs) + "\\" + Name).c_str());
  RemoveDirectoryA((GetProfilesDirectory() + "\\" + GetLogonUserName() + "\\Startmen\xFC\\Programme\\" + Name).c_str());
  DeleteTree(dist);
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::pair<int, Result>> results;
  for (int a = 1; a < argc; ++a) {
    const int count = std::atoi(argv[a]);
    Result result;
    if (count < 50 || !Run(count, result)) {
      std::printf("benchmark of %s files failed\n", argv[a]);
      return 1;
    }
    std::printf("  %.1f s in all, %.2f ms per file, of which the log %.2f ms (%.0f%%)\n",
                result.install, 1000 * result.install / count, 1000 * result.log / count,
                100 * result.log / result.install);
    if (result.blocks.size() > 1)
      std::printf("  the log's first thousand entries %.2f ms each, its last thousand %.2f ms each\n",
                  result.blocks.front(), result.blocks.back());
    results.push_back({count, result});
  }
  for (size_t i = 1; i < results.size(); ++i)
    std::printf("%d files took %.1f times as long as %d\n", results[i].first,
                results[i].second.install / results[0].second.install, results[0].first);
  return 0;
}

// distkit: the distribution toolkit for the people who package programs.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "check.h"
#include "commands.h"

namespace {
const char Help[] =
    "distkit - the distribution toolkit for SETUP.EXE\n"
    "\n"
    "  distkit compress [-o DIR] FILE...\n"
    "      Compresses each FILE into the installer's compressed format, written under its\n"
    "      compressed name: the last character of the extension becomes \"_\"\n"
    "      (ADRESSEN.EXE gives ADRESSEN.EX_). The extension must have three characters,\n"
    "      or the installer would not recognise the file as compressed.\n"
    "\n"
    "  distkit expand [-o DIR] FILE...\n"
    "      Expands each compressed FILE under the name the installer gives it\n"
    "      (ADRESSEN.EX_ gives ADRESSEN.EXE; an extension the installer does not know keeps\n"
    "      its name, so it needs -o with another folder).\n"
    "\n"
    "  distkit check [--json] [--strict] DIR\n"
    "      Checks the distribution folder DIR as SETUP.EXE will read it: errors (a missing\n"
    "      file, a compressed file that does not expand, list keys the installer never\n"
    "      reaches, a shortcut to a file not installed, two entries with one target) and\n"
    "      warnings (things that work, but not as a packager would expect), each with its\n"
    "      line in Setup.lst. Exit status 0 clean, 1 only warnings and --strict, 2 errors.\n"
    "\n"
    "  -o DIR   write into DIR instead of each FILE's own folder\n"
    "\n"
    "Neither command ever overwrites its input. Each output is written to a temporary file\n"
    "first and renamed when complete, so a failure leaves no half-written file. Large files\n"
    "show their progress on a terminal. Exit status: 0 all files done, 1 a file failed,\n"
    "2 the command line is wrong.\n";

// The program's texts are CP1252; a Linux terminal wants UTF-8.
std::string ToConsole(const std::string& text) {
#ifdef _WIN32
  return text;
#else
  static const char16_t High[32] = {0x20AC, 0x81, 0x201A, 0x192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x2C6, 0x2030, 0x160, 0x2039, 0x152, 0x8D, 0x17D, 0x8F,
                                    0x90, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x2DC, 0x2122, 0x161, 0x203A, 0x153, 0x9D, 0x17E, 0x178};
  std::string out;
  for (unsigned char c : text) {
    const unsigned u = c < 0x80 ? c : c < 0xA0 ? High[c - 0x80] : c;
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
#endif
}

int Usage(const char* problem);

int Check(const std::vector<std::string>& args) {
  bool json = false, strict = false;
  std::string dir;
  for (const std::string& arg : args) {
    if (arg == "--json") json = true;
    else if (arg == "--strict") strict = true;
    else if (dir.empty() && !arg.starts_with("--")) dir = arg;
    else return Usage(("check: unexpected " + arg).c_str());
  }
  if (dir.empty()) return Usage("check needs a distribution folder");
  const std::vector<Finding> findings = CheckDistribution(dir);
  std::fputs(ToConsole(json ? FindingsJson(findings) : FindingsText(findings)).c_str(), stdout);
  if (!json && findings.empty()) std::printf("%s: no problems found\n", dir.c_str());
  return CheckExitStatus(findings, strict);
}

int Usage(const char* problem) {
  std::fprintf(stderr, "distkit: %s\n(distkit --help tells how to call it)\n", problem);
  return 2;
}
}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage("no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::fputs(Help, stdout);
    return 0;
  }
  const std::string command = args[0];
  if (command == "check") return Check(std::vector<std::string>(args.begin() + 1, args.end()));
  std::string outputDir;
  std::vector<std::string> files;
  for (size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (++i == args.size()) return Usage("-o needs a folder");
      outputDir = args[i];
    } else if (args[i] == "--help") {
      std::fputs(Help, stdout);
      return 0;
    } else {
      files.push_back(args[i]);
    }
  }
  if (command != "compress" && command != "expand") return Usage(("unknown command: " + command).c_str());
  if (files.empty()) return Usage((command + " needs at least one file").c_str());
  int failures = 0;
  for (const std::string& file : files) {
    const std::string problem = command == "compress" ? CompressCommand(file, outputDir)
                                                      : ExpandCommand(file, outputDir);
    if (!problem.empty()) {
      std::fprintf(stderr, "distkit: %s\n", ToConsole(problem).c_str());
      ++failures;
    }
  }
  return failures ? 1 : 0;
}

// distkit: the distribution toolkit for the people who package programs.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "build.h"
#include "check.h"
#include "commands.h"
#include "console.h"

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
    "  distkit build [--setup-exe PATH] SRC DEST\n"
    "      Builds the distribution folder DEST from SRC: SRC's Setup.lst names the files as\n"
    "      they are to lie in the distribution; each compressed entry (ADRESSEN.EX_) is\n"
    "      compressed from SRC's file of the installed name (ADRESSEN.EXE), plain entries\n"
    "      are copied, then the script, Liesmich.txt, Vertrag.Txt and SETUP.EXE (from this\n"
    "      build, or PATH). DEST is then checked as by check; on an error, or any other\n"
    "      failure, DEST stays as it was. Exit status 0 built, 1 failed, 2 wrong call.\n"
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

int BuildCommand(const std::vector<std::string>& args, const char* self) {
  std::string setupExe;
  std::vector<std::string> folders;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--setup-exe") {
      if (++i == args.size()) return Usage("--setup-exe needs a path");
      setupExe = args[i];
    } else {
      folders.push_back(args[i]);
    }
  }
  if (folders.size() != 2) return Usage("build needs a source folder and a distribution folder");
  if (setupExe.empty()) setupExe = DefaultSetupExe(self);
  const std::string problem = BuildDistribution(folders[0], folders[1], setupExe);
  if (!problem.empty()) {
    std::fprintf(stderr, "distkit: %s\n", ToConsole(problem).c_str());
    return 1;
  }
  std::printf("%s is ready\n", folders[1].c_str());
  return 0;
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
  if (command == "build") return BuildCommand(std::vector<std::string>(args.begin() + 1, args.end()), argv[0]);
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

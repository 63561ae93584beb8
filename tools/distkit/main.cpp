// distkit: the distribution toolkit for the people who package programs.
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "build.h"
#include "bundle.h"
#include "check.h"
#include "commands.h"
#include "console.h"
#include "manifest.h"
#include "codec/sha256.h"
#ifdef DISTKIT_ZIP
#include "pack.h"
#endif

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
    "  distkit build [--setup-exe PATH] [--sign CERT.pfx [--password-file FILE]\n"
    "                [--timestamp URL]] SRC DEST\n"
    "      Builds the distribution folder DEST from SRC: SRC's Setup.lst names the files as\n"
    "      they are to lie in the distribution; each compressed entry (ADRESSEN.EX_) is\n"
    "      compressed from SRC's file of the installed name (ADRESSEN.EXE), plain entries\n"
    "      are copied, then the script, Liesmich.txt, Vertrag.Txt and SETUP.EXE (from this\n"
    "      toolkit's own folder, this build, or PATH), signed with CERT.pfx through\n"
    "      osslsigncode when --sign is given (the password read from FILE; --timestamp asks\n"
    "      that time-stamp server). Every file gets the time of its source, or\n"
    "      SOURCE_DATE_EPOCH when set (the signing time too), so that one source gives the\n"
    "      same DEST again. DEST is then checked as by check; on an error, or any other\n"
    "      failure, DEST stays as it was. DEST must be new, empty or a distribution built\n"
    "      before: anything else in it is refused, never deleted. Exit status 0 built, 1\n"
    "      failed, 2 wrong call.\n"
    "\n"
    "  distkit check [--json] [--strict] DIR\n"
    "      Checks the distribution folder DIR as SETUP.EXE will read it: errors (a missing\n"
    "      file, a compressed file that does not expand, list keys the installer never\n"
    "      reaches, a shortcut to a file not installed, two entries with one target) and\n"
    "      warnings (things that work, but not as a packager would expect), each with its\n"
    "      line in Setup.lst, and SETUP.EXE's signature: none (a warning), valid (a note,\n"
    "      with whether the certificate is trusted here) or broken (an error). Exit status\n"
    "      0 clean, 1 only warnings and --strict, 2 errors.\n"
    "\n"
    "  distkit pack DEST OUT.zip\n"
    "      Writes the distribution folder DEST as one zip archive, the same bytes for the\n"
    "      same folder (entries in name order, each with its file's time in UTC). DEST must\n"
    "      pass its check.\n"
    "\n"
    "  distkit bundle [--sign CERT.pfx [--password-file FILE] [--timestamp URL]] DEST OUT.EXE\n"
    "      Writes the distribution folder DEST as one program OUT.EXE: SETUP.EXE with\n"
    "      every file of DEST appended, which installs under any name as SETUP.EXE does\n"
    "      from DEST. Started cut or damaged, it installs nothing and ends with status 2.\n"
    "      DEST must pass its check and carry the checksums of distkit build. With --sign\n"
    "      OUT.EXE is signed as by build; DEST's SETUP.EXE must be signed then (build DEST\n"
    "      with --sign): it is installed as the uninstaller.\n"
    "\n"
    "  distkit manifest DEST (--zip OUT.zip | --exe OUT.EXE) --url URL [--id PUBLISHER.NAME]\n"
    "      Prints the winget installer manifest for DEST packed as OUT.zip, or bundled as\n"
    "      OUT.EXE, and published at URL (switches, exit statuses, the registration an\n"
    "      installation shows, the download's SHA-256), headed by the registry detection\n"
    "      rule for Intune or SCCM. DEST must pass its check (its findings go to stderr).\n"
    "\n"
    "  -o DIR   write into DIR instead of each FILE's own folder\n"
    "\n"
    "Neither command ever overwrites its input. Each output is written to a temporary file\n"
    "first and renamed when complete, so a failure leaves no half-written file. Large files\n"
    "show their progress on a terminal. Exit status: 0 all files done, 1 a file failed,\n"
    "2 the command line is wrong.\n";

int Usage(const char* problem);

// Says what went wrong, on the error stream; the status of a failed command.
int Report(const std::string& problem) {
  std::fprintf(stderr, "distkit: %s\n", problem.c_str());
  return 1;
}

// The status of a command that made `made`, or the problem that stopped it.
int Finished(const std::string& problem, const std::string& made) {
  if (!problem.empty()) return Report(problem);
  std::printf("%s is ready\n", made.c_str());
  return 0;
}

int Check(const std::vector<std::string>& args) {
  bool json = false, strict = false;
  std::string dir;
  for (const std::string& arg : args) {
    if (arg == "--json")
      json = true;
    else if (arg == "--strict")
      strict = true;
    else if (dir.empty() && !arg.starts_with("--"))
      dir = arg;
    else
      return Usage(("check: unexpected " + arg).c_str());
  }
  if (dir.empty()) return Usage("check needs a distribution folder");
  const std::vector<Finding> findings = CheckDistribution(dir);
  std::fputs((json ? FindingsJson(findings) : FindingsText(findings)).c_str(), stdout);
  if (!json && CheckExitStatus(findings, true) == 0) std::printf("%s: no problems found\n", dir.c_str());
  return CheckExitStatus(findings, strict);
}

// Options with a value ("--sign CERT") into values, the rest into plain; false on an option
// without its value or one not known.
bool ReadOptions(const std::vector<std::string>& args, std::map<std::string, std::string>& values,
                 std::vector<std::string>& plain) {
  for (size_t i = 0; i < args.size(); ++i) {
    if (!args[i].starts_with("--")) {
      plain.push_back(args[i]);
      continue;
    }
    if (!values.count(args[i]) || i + 1 == args.size()) return false;
    values[args[i]] = args[i + 1];
    ++i;
  }
  return true;
}

int BuildCommand(const std::vector<std::string>& args, const char* self) {
  std::map<std::string, std::string> options = {
      {"--setup-exe", ""}, {"--sign", ""}, {"--password-file", ""}, {"--timestamp", ""}};
  std::vector<std::string> folders;
  if (!ReadOptions(args, options, folders)) return Usage("build: an unknown option, or one without its value");
  if (folders.size() != 2) return Usage("build needs a source folder and a distribution folder");
  std::string setupExe = options["--setup-exe"];
  if (setupExe.empty()) setupExe = DefaultSetupExe(self);
  const SigningOptions signing{options["--sign"], options["--password-file"], options["--timestamp"]};
  if (signing.certificate.empty() && !(signing.passwordFile + signing.timestampUrl).empty())
    return Usage("--password-file and --timestamp go with --sign");
  return Finished(BuildDistribution(folders[0], folders[1], setupExe, signing), folders[1]);
}

int BundleCommand(const std::vector<std::string>& args) {
  std::map<std::string, std::string> options = {{"--sign", ""}, {"--password-file", ""}, {"--timestamp", ""}};
  std::vector<std::string> paths;
  if (!ReadOptions(args, options, paths)) return Usage("bundle: an unknown option, or one without its value");
  if (paths.size() != 2) return Usage("bundle needs a distribution folder and the program to write");
  const SigningOptions signing{options["--sign"], options["--password-file"], options["--timestamp"]};
  if (signing.certificate.empty() && !(signing.passwordFile + signing.timestampUrl).empty())
    return Usage("--password-file and --timestamp go with --sign");
  return Finished(BundleDistribution(paths[0], paths[1], signing), paths[1]);
}

int PackCommand(const std::vector<std::string>& args) {
  if (args.size() != 2) return Usage("pack needs a distribution folder and the archive to write");
#ifdef DISTKIT_ZIP
  return Finished(PackDistribution(args[0], args[1]), args[1]);
#else
  return Report("this build of the toolkit has no zip library; pack on Linux");
#endif
}

int ManifestCommand(const std::vector<std::string>& args) {
  std::map<std::string, std::string> options = {{"--zip", ""}, {"--exe", ""}, {"--url", ""}, {"--id", ""}};
  std::vector<std::string> folders;
  if (!ReadOptions(args, options, folders) || folders.size() != 1 ||
      options["--zip"].empty() == options["--exe"].empty() || options["--url"].empty())
    return Usage("manifest needs a distribution folder, --zip OUT.zip or --exe OUT.EXE, and --url URL");
  const bool oneFile = !options["--exe"].empty();
  const std::string download = oneFile ? options["--exe"] : options["--zip"];
  // The manifest goes to standard output: the check's findings to the error output.
  Registration registration;
  std::string problem = CheckBeforePublishing(folders[0], stderr);
  if (problem.empty()) problem = ReadRegistration(folders[0], registration);
  const std::string id = options["--id"].empty() ? PackageIdentifier(registration) : options["--id"];
  if (problem.empty() && id.empty()) problem = "\"General\"/\"Publisher\" is missing: give the identifier with --id";
  const std::optional<std::string> sha256 = FileSha256(download);
  if (problem.empty() && !sha256) problem = download + ": cannot be read";
  if (!problem.empty()) return Report(problem);
  std::fputs(
      (DetectionRule(registration) + WingetManifest(registration, id, options["--url"], *sha256, oneFile)).c_str(),
      stdout);
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
  if (command == "bundle") return BundleCommand(std::vector<std::string>(args.begin() + 1, args.end()));
  if (command == "pack") return PackCommand(std::vector<std::string>(args.begin() + 1, args.end()));
  if (command == "manifest") return ManifestCommand(std::vector<std::string>(args.begin() + 1, args.end()));
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
    const std::string problem =
        command == "compress" ? CompressCommand(file, outputDir) : ExpandCommand(file, outputDir);
    if (!problem.empty()) failures += Report(problem);
  }
  return failures ? 1 : 0;
}

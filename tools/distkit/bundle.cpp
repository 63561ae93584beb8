#include "bundle.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "check.h"
#include "codec/payload_format.h"
#include "commands.h"
#include "console.h"
#include "env/install_names.h"
#include "env/paths.h"
#include "install/script_reader.h"
#include "signing.h"
#include "env/unicode.h"

namespace fs = std::filesystem;

namespace {
std::string ReadAll(const fs::path& path, bool& ok) {
  std::ifstream in(path, std::ios::binary);
  std::string data{std::istreambuf_iterator<char>(in), {}};
  ok = !in.bad() && in.is_open();
  return data;
}

// A file's time as Windows keeps it: hundreds of nanoseconds since 1601.
uint64_t FileTimeOf(const fs::path& path) {
  std::error_code ec;
  const auto written = fs::last_write_time(path, ec);
  if (ec) return 0;
  const auto since1970 =
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::file_clock::to_sys(written).time_since_epoch());
  return static_cast<uint64_t>(since1970.count() + 11644473600LL) * 10000000ULL;
}

// The program without a signature and without anything appended to it.
std::string PlainProgram(const std::string& program, std::string& problem) {
  const std::optional<payload::Appended> appended =
      payload::FindAppended(std::string_view(program).substr(0, 4096), program.size());
  if (!appended || appended->begin > program.size()) {
    problem = "SETUP.EXE is no Windows program";
    return {};
  }
  std::string plain = program.substr(0, appended->begin);
  if (appended->securityEntry + 8 <= plain.size()) std::fill_n(plain.begin() + appended->securityEntry, 8, '\0');
  payload::MarkAsCarrier(plain);
  return plain;
}
}  // namespace

std::string BundleDistribution(const std::string& dest, const std::string& out, const SigningOptions& signing) {
  if (std::string problem = CheckBeforePublishing(dest, stdout); !problem.empty()) return problem;
  std::vector<fs::path> paths;
  std::error_code ec;
  // The next bundle of the folder would carry this one.
  if (std::error_code same; fs::equivalent(fs::absolute(out).parent_path(), dest, same))
    return out + ": write it outside " + dest;
  uintmax_t total = 0;
  for (const fs::directory_entry& entry : fs::directory_iterator(dest, ec))
    if (entry.is_regular_file(ec)) paths.push_back(entry.path()), total += entry.file_size(ec);
  if (ec) return dest + ": cannot be read (" + ec.message() + ")";
  // The program reads what it carries at 32-bit signed file positions.
  if (total > 0x7FF00000) return dest + " holds more than 2 GB: publish it as a folder or an archive";
  std::sort(paths.begin(), paths.end());
  std::vector<payload::Entry> files;
  std::vector<std::string> contents;
  std::string program, script;
  fs::path programPath;
  for (const fs::path& path : paths) {
    bool ok = false;
    contents.push_back(ReadAll(path, ok));
    if (!ok) return path.string() + ": cannot be read";
    const std::string name = path.filename().string();
    if (LowerCase(name) == "setup.exe") program = contents.back(), programPath = path;
    if (LowerCase(name) == "setup.lst") script = contents.back();
    files.push_back({name, 0, 0, FileTimeOf(path)});
  }
  // Each file is checked against its checksum as it is installed; a bundle without them
  // would install whatever someone made of its bytes.
  if (!ScriptReader(DistributionText(script)).HasSection(ChecksumSection))
    return dest + "/Setup.lst has no [" + std::string(ChecksumSection) +
           "] section: make the folder with distkit build";
  // The installation copies the carried SETUP.EXE as Uninstal.exe: in a signed download it
  // must be signed too, or Windows names no publisher when the program is removed.
  if (!signing.certificate.empty() && CheckSignature(programPath.string()).state == SignatureState::None)
    return dest +
           "/SETUP.EXE is not signed, and the installed Uninstal.exe is a copy of it: build the folder signed "
           "(distkit build --sign CERT.pfx ...), then bundle it";
  std::string problem;
  const std::string plain = PlainProgram(program, problem);
  if (!problem.empty()) return problem;
  const fs::path output(out), temporary = TemporaryFor(output);
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    const std::string appended = payload::Make(files, contents);
    file << plain << appended;
    if (!file.flush()) {
      fs::remove(temporary, ec);
      return out + ": cannot be written";
    }
    std::printf("bundled %zu files (%zu bytes) after SETUP.EXE (%zu bytes)\n", files.size(), appended.size(),
                plain.size());
  }
  if (!signing.certificate.empty()) {
    problem = SignFile(temporary.string(), signing.certificate, signing.passwordFile, signing.timestampUrl);
    if (!problem.empty()) {
      fs::remove(temporary, ec);
      return problem;
    }
    std::printf("signed %s with %s\n", out.c_str(), signing.certificate.c_str());
  }
  fs::permissions(temporary, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                  fs::perm_options::add, ec);
  return Finish(temporary, output);
}

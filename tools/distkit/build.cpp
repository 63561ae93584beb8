#include "build.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "check.h"

#include "commands.h"
#include "codec/lzh_format.h"
#include "codec/name_mapping.h"
#include "codec/sha256.h"
#include "console.h"
#include "env/install_names.h"
#include "env/paths.h"
#include "lzh_encoder.h"
#include "install/script_reader.h"
#include "signing.h"
#include "env/unicode.h"

namespace fs = std::filesystem;

namespace {
// The folder's files by their lower-cased names, as Windows finds them.
std::map<std::string, fs::path> FilesOf(const fs::path& dir) {
  std::map<std::string, fs::path> files;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec))
    if (entry.is_regular_file(ec)) files[LowerCase(entry.path().filename().string())] = entry.path();
  return files;
}

bool ReadAll(const fs::path& path, std::vector<uint8_t>& data) {
  std::ifstream in(path, std::ios::binary);
  data.assign(std::istreambuf_iterator<char>(in), {});
  return !in.bad();
}

bool WriteAll(const fs::path& path, const std::vector<uint8_t>& data) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(out.flush());
}

// The names a numbered list installs, as the installer reads them.
std::vector<std::string> ListNames(const ScriptReader& script, const std::string& section) {
  std::vector<std::string> names;
  const size_t n = script.Section(section).size();
  for (size_t k = 1; k <= n; ++k)
    if (const auto entry = script.Find(section, std::to_string(k)); entry && !entry->value.empty())
      names.push_back(entry->value);
  return names;
}

// The script's text without a section of that name (letter case aside), header and lines.
std::string WithoutSection(const std::string& text, const std::string& section) {
  std::string kept;
  bool inside = false;
  for (size_t at = 0; at < text.size();) {
    size_t end = text.find('\n', at);
    end = end == std::string::npos ? text.size() : end + 1;
    const std::string line = text.substr(at, end - at);
    const size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos && line[first] == '[') {
      const size_t close = line.find(']', first);
      inside = close != std::string::npos && LowerCase(line.substr(first + 1, close - first - 1)) == LowerCase(section);
    }
    if (!inside) kept += line;
    at = end;
  }
  return kept;
}

// Every file the installer reads from the distribution, with the SHA-256 of its bytes as they
// lie there, in a section of the script that installers before it pass over. One that the
// source's script brought along is replaced.
std::string AddChecksums(const fs::path& work, std::vector<std::string> names) {
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return LowerCase(a) < LowerCase(b); });
  names.erase(std::unique(names.begin(), names.end(),
                          [](const std::string& a, const std::string& b) { return LowerCase(a) == LowerCase(b); }),
              names.end());
  std::vector<uint8_t> data;
  if (!ReadAll(work / "Setup.lst", data)) return (work / "Setup.lst").string() + ": cannot be read";
  const std::string original(data.begin(), data.end());
  std::string text = WithoutSection(original, ChecksumSection);
  if (!text.empty() && text.back() != '\n') text += "\r\n";
  text += std::string("[") + ChecksumSection + "]\r\n";
  for (const std::string& name : names) {
    const std::optional<std::string> digest = FileSha256(PathText(work / name));
    if (!digest) return (work / name).string() + ": cannot be read";
    std::string named;
    if (!InDistributionEncoding(original, name, named))
      return "Setup.lst names " + name + ", which CP1252 cannot write: save Setup.lst as UTF-8 with a byte-order mark";
    text += named + "=" + *digest + "\r\n";
  }
  if (!WriteAll(work / "Setup.lst", std::vector<uint8_t>(text.begin(), text.end())))
    return (work / "Setup.lst").string() + ": cannot be written";
  std::printf("recorded the SHA-256 of %zu files in [%s] of Setup.lst\n", names.size(), ChecksumSection);
  return {};
}

class Builder {
 public:
  Builder(const fs::path& src, const fs::path& work, std::optional<fs::file_time_type> time)
      : src_(src), work_(work), files_(FilesOf(src)), time_(time) {}

  std::string Place(const std::string& name, size_t number, size_t total) {
    // A compressed entry comes from the file under its installed name.
    const bool compressed = IsCompressedName(name);
    const std::string from = compressed ? MapCompressedName(name) : name;
    const size_t dot = name.rfind('.');
    // The installer knows a compressed name by the "_" third in a three-character extension.
    if (!compressed && name.back() == '_' && dot != std::string::npos && name.size() - dot > 4)
      return "Setup.lst names " + name + ": a compressed name has a three-character extension with \"_\" third (" +
             name.substr(0, dot + 3) + "_); a longer extension cannot be compressed";
    const auto found = files_.find(LowerCase(from));
    if (found == files_.end()) return "Setup.lst names " + name + ", but " + from + " is not in " + src_.string();
    std::vector<uint8_t> data;
    if (!ReadAll(found->second, data)) return found->second.string() + ": cannot be read";
    // A source already in the compressed format is copied as it is, never compressed twice.
    const bool packed =
        data.size() >= sizeof lzh::Signature && std::equal(data.begin(), data.begin() + 4, lzh::Signature);
    const std::vector<uint8_t> out = compressed && !packed ? lzh::Compress(data) : data;
    if (!WriteAll(work_ / name, out)) return (work_ / name).string() + ": cannot be written";
    if (std::string problem = Stamp(name, found->second); !problem.empty()) return problem;
    std::printf("[%zu/%zu] %s %s -> %s (%zu -> %zu bytes)\n", number, total,
                !compressed ? "copied"
                : packed    ? "copied, compressed already,"
                            : "compressed",
                found->second.filename().string().c_str(), name.c_str(), data.size(), out.size());
    return {};
  }

  std::string Copy(const fs::path& from, const std::string& as) {
    std::error_code ec;
    fs::copy_file(from, work_ / as, fs::copy_options::overwrite_existing, ec);
    return ec ? from.string() + ": cannot be copied (" + ec.message() + ")" : Stamp(as, from);
  }

  const std::map<std::string, fs::path>& Files() const { return files_; }

  // Each file takes the release's time, or else the time of the file it comes from, so that
  // two builds of one source give the same folder, times and all.
  std::string Stamp(const std::string& name, const fs::path& from) const {
    std::error_code ec;
    const fs::file_time_type time = time_ ? *time_ : fs::last_write_time(from, ec);
    if (!ec) fs::last_write_time(work_ / name, time, ec);
    return ec ? (work_ / name).string() + ": its time cannot be set (" + ec.message() + ")" : "";
  }

 private:
  fs::path src_, work_;
  std::map<std::string, fs::path> files_;
  std::optional<fs::file_time_type> time_;
};

std::string Build(const fs::path& src, const fs::path& work, const fs::path& setupExe, const SigningOptions& signing) {
  std::string timeProblem;
  const std::optional<fs::file_time_type> time = ReleaseTime(timeProblem);
  if (!timeProblem.empty()) return timeProblem;
  Builder builder(src, work, time);
  const auto script = builder.Files().find("setup.lst");
  if (script == builder.Files().end()) return src.string() + " has no Setup.lst";
  std::ifstream in(script->second, std::ios::binary);
  const ScriptReader reader(DistributionText(std::string{std::istreambuf_iterator<char>(in), {}}));
  std::vector<std::string> names = ListNames(reader, "programfiles");
  for (const std::string& name : ListNames(reader, "Windows")) names.push_back(name);
  for (size_t i = 0; i < names.size(); ++i)
    if (std::string problem = builder.Place(names[i], i + 1, names.size()); !problem.empty()) return problem;
  // The script and the texts keep the names the installer asks for.
  for (const char* text : {"Setup.lst", "Liesmich.txt", "Vertrag.Txt"}) {
    const auto found = builder.Files().find(LowerCase(text));
    if (found == builder.Files().end()) continue;
    if (std::string problem = builder.Copy(found->second, text); !problem.empty()) return problem;
    if (text != std::string("Setup.lst")) names.push_back(text);
  }
  names.push_back("SETUP.EXE");
  if (std::string problem = builder.Copy(setupExe, "SETUP.EXE"); !problem.empty()) return problem;
  if (!signing.certificate.empty()) {
    const std::string problem =
        SignFile((work / "SETUP.EXE").string(), signing.certificate, signing.passwordFile, signing.timestampUrl);
    if (!problem.empty()) return problem;
    if (std::string stamp = builder.Stamp("SETUP.EXE", setupExe); !stamp.empty()) return stamp;
    std::printf("signed SETUP.EXE with %s\n", signing.certificate.c_str());
  }
  if (std::string problem = AddChecksums(work, names); !problem.empty()) return problem;
  if (std::string stamp = builder.Stamp("Setup.lst", script->second); !stamp.empty()) return stamp;
  const std::vector<Finding> findings = CheckDistribution(work.string());
  std::fputs(FindingsText(findings).c_str(), stdout);
  if (CheckExitStatus(findings, false) == 2) return "the distribution does not pass its check";
  return {};
}

bool Inside(const fs::path& path, const fs::path& dir) {
  const fs::path p = fs::weakly_canonical(path), d = fs::weakly_canonical(dir);
  auto pi = p.begin();
  for (auto di = d.begin(); di != d.end(); ++di, ++pi)
    if (pi == p.end() || *pi != *di) return false;
  return true;
}
}  // namespace

namespace {
// What dest holds that distkit build did not write there: a folder, or a file its Setup.lst
// does not name among the checksums that build writes for every file it makes. Empty for an
// earlier distribution of build's own, an empty folder or none.
std::string ForeignEntry(const fs::path& dest) {
  std::error_code ec;
  if (!fs::exists(dest, ec)) return {};
  if (!fs::is_directory(dest, ec)) return dest.filename().string();
  std::vector<uint8_t> script;
  std::map<std::string, bool> ours = {{"setup.lst", true}};
  if (ReadAll(dest / "Setup.lst", script))
    for (const ScriptEntry& entry :
         ScriptReader(DistributionText(std::string(script.begin(), script.end()))).Section(ChecksumSection))
      ours[LowerCase(entry.key)] = true;
  for (const fs::directory_entry& entry : fs::directory_iterator(dest, ec))
    if (!entry.is_regular_file(ec) || !ours.count(LowerCase(entry.path().filename().string())))
      return entry.path().filename().string();
  return {};
}
}  // namespace

std::optional<fs::file_time_type> ReleaseTime(std::string& problem) {
  const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
  if (!epoch || !*epoch) return std::nullopt;
  char* end = nullptr;
  const long long seconds = std::strtoll(epoch, &end, 10);
  if (*end || seconds < 0) {
    problem = std::string("SOURCE_DATE_EPOCH \"") + epoch + "\" is not a number of seconds";
    return std::nullopt;
  }
  return std::chrono::file_clock::from_sys(std::chrono::sys_seconds(std::chrono::seconds(seconds)));
}

std::string BuildDistribution(const std::string& src, const std::string& dest, const std::string& setupExe,
                              const SigningOptions& signing) {
  std::error_code ec;
  const fs::path source(src), target(fs::path(dest).lexically_normal());
  if (!fs::is_directory(source, ec)) return src + " is not a folder";
  if (!fs::is_regular_file(setupExe, ec)) return setupExe + ": no SETUP.EXE there (use --setup-exe PATH)";
  if (Inside(target, source) || Inside(source, target)) return "the distribution must lie apart from its source folder";
  // Built again into its own earlier distribution it replaces it whole; anything else there
  // is the packager's, and nothing of it is deleted.
  if (const std::string foreign = ForeignEntry(target); !foreign.empty())
    return dest + " holds " + foreign +
           ", which distkit build did not make: build into a new or empty folder, or "
           "into a distribution built before (whose Setup.lst names each of its files)";
  // Built beside dest and renamed when complete, so a failure leaves dest as it was.
  const fs::path work = target.parent_path() / (target.filename().string() + ".distkit-tmp");
  fs::remove_all(work, ec);
  if (!fs::create_directories(work, ec)) return work.string() + ": cannot be made (" + ec.message() + ")";
  std::string problem = Build(source, work, setupExe, signing);
  if (problem.empty()) {
    const fs::path old = target.parent_path() / (target.filename().string() + ".distkit-old");
    fs::remove_all(old, ec);
    if (fs::exists(target, ec)) fs::rename(target, old, ec);
    if (!ec) fs::rename(work, target, ec);
    if (ec)
      problem = dest + ": cannot be put in place (" + ec.message() + ")";
    else
      fs::remove_all(old, ec);
  }
  if (!problem.empty()) fs::remove_all(work, ec);
  return problem;
}

std::string DefaultSetupExe(const std::string& toolkitPath) {
  // The toolkit's own file, after links, wherever it was started from (through the PATH, a
  // link): Linux names it; elsewhere the path it was started by.
  std::error_code ec;
  fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) self = fs::weakly_canonical(toolkitPath, ec);
  const fs::path beside = self.parent_path();
  for (const fs::path& candidate : {beside / "SETUP.EXE", beside / ".." / ".." / "win32" / "bin" / "SETUP.EXE"})
    if (fs::is_regular_file(candidate, ec)) return candidate.lexically_normal().string();
  return (beside / "SETUP.EXE").string();
}

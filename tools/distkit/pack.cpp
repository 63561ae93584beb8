#include "pack.h"

#include <zip.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <optional>
#include <vector>

#include "build.h"
#include "check.h"

namespace fs = std::filesystem;

namespace {
// A zip entry's time is a local time without zone; the archive holds UTC, so that it does
// not depend on the zone of the machine that packs it. Before 1980 there is none.
void DosTime(std::time_t seconds, zip_uint16_t& time, zip_uint16_t& date) {
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  if (utc.tm_year < 80) {
    utc = std::tm{};
    utc.tm_mday = 1;
    utc.tm_year = 80;
  }
  time = static_cast<zip_uint16_t>(utc.tm_hour << 11 | utc.tm_min << 5 | utc.tm_sec / 2);
  date = static_cast<zip_uint16_t>((utc.tm_year - 80) << 9 | (utc.tm_mon + 1) << 5 | utc.tm_mday);
}

std::time_t EntryTime(const fs::path& file, const std::optional<fs::file_time_type>& release) {
  std::error_code ec;
  const fs::file_time_type time = release ? *release : fs::last_write_time(file, ec);
  return ec ? 0 : std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(time));
}

std::string ZipProblem(zip_t* archive) { return zip_strerror(archive); }
}  // namespace

std::string PackDistribution(const std::string& dir, const std::string& out) {
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return dir + " is not a folder";
  if (std::string problem = CheckBeforePublishing(dir, stdout); !problem.empty()) return problem;
  std::string timeProblem;
  const std::optional<fs::file_time_type> release = ReleaseTime(timeProblem);
  if (!timeProblem.empty()) return timeProblem;
  std::vector<fs::path> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec))
    if (entry.is_regular_file(ec)) files.push_back(entry.path());
  if (files.empty()) return dir + " holds no files";
  const fs::path target = fs::absolute(out);
  if (fs::equivalent(target.parent_path(), dir, ec)) return "the archive must lie outside the distribution folder";
  std::sort(files.begin(), files.end(),
            [](const fs::path& a, const fs::path& b) { return a.filename() < b.filename(); });
  const std::string temporary = out + ".distkit-tmp";
  int error = 0;
  zip_t* archive = zip_open(temporary.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!archive) return temporary + ": cannot be written";
  for (const fs::path& file : files) {
    zip_source_t* source = zip_source_file(archive, file.c_str(), 0, -1);
    const zip_int64_t index = source ? zip_file_add(archive, file.filename().c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
    zip_uint16_t time = 0, date = 0;
    DosTime(EntryTime(file, release), time, date);
    if (index < 0 || zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_DEFLATE, 9) != 0 ||
        zip_file_set_dostime(archive, static_cast<zip_uint64_t>(index), time, date, 0) != 0 ||
        zip_file_set_external_attributes(archive, static_cast<zip_uint64_t>(index), 0, ZIP_OPSYS_DOS, 0) != 0) {
      if (index < 0 && source) zip_source_free(source);
      const std::string problem = file.string() + ": cannot be packed (" + ZipProblem(archive) + ")";
      zip_discard(archive);
      fs::remove(temporary, ec);
      return problem;
    }
  }
  if (zip_close(archive) != 0) {
    const std::string problem = temporary + ": cannot be written (" + ZipProblem(archive) + ")";
    zip_discard(archive);
    fs::remove(temporary, ec);
    return problem;
  }
  fs::rename(temporary, out, ec);
  return ec ? out + ": cannot be put in place (" + ec.message() + ")" : "";
}

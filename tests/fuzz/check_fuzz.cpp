// libFuzzer harness: any bytes as a whole distribution folder, checked as `distkit check`
// checks it. The input is the setup script, then files, each introduced by a line
// "\x01name"; a file's bytes may be a compressed stream. The check must never crash and
// always give findings it can print.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "check.h"

namespace fs = std::filesystem;

namespace {
const fs::path& Folder() {
  static const fs::path dir = fs::temp_directory_path() / ("check_fuzz_" + std::to_string(::getpid()));
  return dir;
}

void Put(const std::string& name, const std::string& bytes) {
  // Only names that stay in the folder: the check, not this harness, is under test.
  if (name.empty() || name.size() > 100 || name.find_first_of("/\\") != std::string::npos || name == "." || name == "..") return;
  std::ofstream(Folder() / name, std::ios::binary) << bytes;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::error_code ec;
  fs::remove_all(Folder(), ec);
  fs::create_directories(Folder());
  const std::string input(reinterpret_cast<const char*>(data), size);
  size_t at = input.find("\n\x01");
  Put("Setup.lst", input.substr(0, at));
  Put("SETUP.EXE", "MZ");
  while (at != std::string::npos) {
    const size_t nameStart = at + 2;
    const size_t nameEnd = input.find('\n', nameStart);
    if (nameEnd == std::string::npos) break;
    at = input.find("\n\x01", nameEnd);
    Put(input.substr(nameStart, nameEnd - nameStart),
        input.substr(nameEnd + 1, at == std::string::npos ? std::string::npos : at - nameEnd - 1));
  }
  const std::vector<Finding> findings = CheckDistribution(Folder().string());
  FindingsText(findings);
  FindingsJson(findings);
  const int status = CheckExitStatus(findings, true);
  if (status < 0 || status > 2) std::abort();
  return 0;
}

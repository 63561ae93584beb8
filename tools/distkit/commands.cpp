#include "commands.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "codec/expander.h"
#include "codec/lzh_format.h"
#include "codec/name_mapping.h"
#include "console.h"
#include "lzh_encoder.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {
constexpr uintmax_t LargeFile = 1 << 20;  // from here on progress is shown

fs::path OutputPath(const fs::path& input, const std::string& outputDir, const std::string& name) {
  return (outputDir.empty() ? input.parent_path() : fs::path(outputDir)) / name;
}

bool SameFile(const fs::path& a, const fs::path& b) {
  std::error_code ec;
  return fs::exists(b, ec) && fs::equivalent(a, b, ec);
}

void ShowProgress(size_t done, size_t total, void* context) {
  std::fprintf(stderr, "\r%s: %3d%%", static_cast<const char*>(context),
               total ? static_cast<int>(done * 100 / total) : 100);
  if (done >= total) std::fputc('\n', stderr);
}

std::string Check(const fs::path& input) {
  std::error_code ec;
  if (!fs::exists(input, ec)) return input.string() + ": no such file";
  if (!fs::is_regular_file(input, ec)) return input.string() + ": not a file";
  return {};
}
}  // namespace

fs::path TemporaryFor(const fs::path& output) {
  return output.parent_path() / (output.filename().string() + ".distkit-tmp");
}

std::string Finish(const fs::path& temporary, const fs::path& output) {
  std::error_code ec;
  fs::rename(temporary, output, ec);
  if (!ec) return {};
  const std::string problem = output.string() + ": cannot be written (" + ec.message() + ")";
  fs::remove(temporary, ec);
  return problem;
}

std::string CompressedNameFor(const std::string& name) {
  const std::string extension = ExtensionOf(name);
  if (extension.size() != 4) return {};
  return name.substr(0, name.size() - 1) + "_";
}

std::string CompressCommand(const std::string& file, const std::string& outputDir) {
  const fs::path input(file);
  if (std::string problem = Check(input); !problem.empty()) return problem;
  const std::string name = input.filename().string();
  const std::string compressed = CompressedNameFor(name);
  if (compressed.empty())
    return name +
           ": the extension must have three characters (such as .EXE), "
           "or the installer would not recognise the compressed file";
  if (IsCompressedName(name)) return name + ": is named as a compressed file already";
  const fs::path output = OutputPath(input, outputDir, compressed);
  if (SameFile(input, output)) return output.string() + ": would overwrite the input";

  std::ifstream in(input, std::ios::binary);
  std::vector<uint8_t> data{std::istreambuf_iterator<char>(in), {}};
  if (in.bad()) return input.string() + ": cannot be read";
  if (data.size() > 0x7FFFFFFF) return input.string() + ": larger than the format's 2 GiB";
  const bool progress = data.size() >= LargeFile && isatty(2);
  const std::vector<uint8_t> packed =
      lzh::Compress(data, {}, progress ? ShowProgress : nullptr, const_cast<char*>(name.c_str()));

  const fs::path temporary = TemporaryFor(output);
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
    if (!out.flush()) {
      std::error_code ec;
      fs::remove(temporary, ec);
      return output.string() + ": cannot be written";
    }
  }
  if (std::string problem = Finish(temporary, output); !problem.empty()) return problem;
  std::printf("%s -> %s: %zu -> %zu bytes (%.1f%%)\n", input.string().c_str(), output.string().c_str(), data.size(),
              packed.size(), data.empty() ? 100.0 : 100.0 * packed.size() / data.size());
  return {};
}

std::string ExpandCommand(const std::string& file, const std::string& outputDir) {
  const fs::path input(file);
  if (std::string problem = Check(input); !problem.empty()) return problem;
  const std::string name = input.filename().string();
  {
    char signature[4] = {};
    std::ifstream(input, std::ios::binary).read(signature, 4);
    if (std::memcmp(signature, lzh::Signature, sizeof lzh::Signature) != 0)
      return input.string() + ": not in the compressed format";
  }
  const fs::path output = OutputPath(input, outputDir, MapCompressedName(name));
  if (SameFile(input, output))
    return name +
           ": the installer keeps this name, so expanding it here would overwrite the "
           "input; use -o with another folder";
  const fs::path temporary = TemporaryFor(output);
  if (const auto failure = ExpandFileChecked(PathText(input), PathText(temporary))) {
    std::error_code ec;
    fs::remove(temporary, ec);
    return "cannot expand: " + InEnglish(failure->message);
  }
  if (std::string problem = Finish(temporary, output); !problem.empty()) return problem;
  std::printf("%s -> %s\n", input.string().c_str(), output.string().c_str());
  return {};
}

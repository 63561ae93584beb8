// libFuzzer harnesses for what a one-file download carries, its bytes being anybody's.
// payload_fuzz: any bytes as the payload after the program: its header, trailer and table,
// as SETUP.EXE reads them (the digest taken as matching, so that the table is reached).
// pe_fuzz (PE_FUZZ): any bytes as the program file itself: where the payload begins and where
// a signature's certificate table lies, then its payload as above.
// Neither may crash or read out of bounds, and whatever they accept must lie in the file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "codec/payload_format.h"
#include "env/paths.h"

namespace {
void ReadCarried(std::string_view file, const payload::Appended& appended) {
  const auto read = [file](uint32_t at, uint32_t count, std::string& into) {
    if (at > file.size() || count > file.size() - at) return false;
    into.assign(file.substr(at, count));
    return true;
  };
  const auto matches = [file](uint32_t at, uint32_t count, const std::string& digest) {
    return at <= file.size() && count <= file.size() - at && digest.size() == payload::DigestSize;
  };
  std::vector<payload::Entry> entries;
  if (payload::ReadPayload(appended, read, matches, entries) != payload::Carried::Whole) return;
  for (const payload::Entry& entry : entries)
    if (uint64_t{appended.begin} + entry.offset + entry.size > appended.end || entry.offset < payload::HeaderSize ||
        !IsPlainFileName(entry.name))
      std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
#ifdef PE_FUZZ
  // The file as it is, and as the headers of a far larger one.
  for (const uint64_t fileSize : {uint64_t{size}, uint64_t{size} * 65537 + 3}) {
    const auto appended = payload::FindAppended(file.substr(0, 4096), fileSize);
    if (!appended || appended->cut) continue;
    if (appended->begin > appended->end || appended->end > fileSize) std::abort();
    if (fileSize == size && appended->begin < appended->end) ReadCarried(file, *appended);
  }
#else
  ReadCarried(file, {0, static_cast<uint32_t>(size), false, 0});
#endif
  return 0;
}

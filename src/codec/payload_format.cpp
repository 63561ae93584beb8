#include "codec/payload_format.h"

#include <algorithm>

#include "codec/sha256.h"
#include "env/paths.h"

namespace payload {
namespace {
constexpr char Magic[] = "SETUPPAY";

uint32_t Get32(std::string_view bytes, uint64_t at) {
  if (at + 4 > bytes.size()) return 0;
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}
uint32_t Get16(std::string_view bytes, uint64_t at) {
  if (at + 2 > bytes.size()) return 0;
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}
void Put(std::string& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}
}  // namespace

// In 64 bits throughout: every number here comes from the file and may be anything.
std::optional<Appended> FindAppended(std::string_view headers, uint64_t fileSize) {
  const uint64_t pe = Get32(headers, 0x3C);
  if (headers.substr(0, 2) != "MZ" || pe + 24 > headers.size() ||
      headers.substr(pe, 4) != std::string_view("PE\0\0", 4))
    return std::nullopt;
  const uint64_t sections = Get16(headers, pe + 6), optional = pe + 24;
  const uint64_t optionalSize = Get16(headers, pe + 20);
  const bool wide = Get16(headers, optional) == 0x20B;  // PE32+
  const uint64_t directories = optional + (wide ? 112 : 96);
  if (directories > optional + optionalSize) return std::nullopt;
  const uint64_t end = std::min<uint64_t>(fileSize, UINT32_MAX);
  uint64_t begin = Get32(headers, optional + 60);  // the headers' size
  for (uint64_t i = 0, at = optional + optionalSize; i < sections; ++i, at += 40) {
    if (at + 40 > headers.size()) return std::nullopt;
    const uint64_t size = Get32(headers, at + 16), pointer = Get32(headers, at + 20);
    if (size && pointer + size > begin) begin = pointer + size;
  }
  Appended found;
  found.end = static_cast<uint32_t>(end);
  if (Get32(headers, optional + (wide ? 108 : 92)) > 4) {
    found.securityEntry = static_cast<uint32_t>(directories + 4 * 8);
    const uint64_t table = Get32(headers, found.securityEntry), size = Get32(headers, found.securityEntry + 4);
    if (table && size) {
      found.cut = table + size > fileSize;
      if (table < found.end) found.end = static_cast<uint32_t>(table);
    }
  }
  // A program whose sections end beyond the file is cut.
  if (begin > found.end) found.cut = true;
  found.begin = static_cast<uint32_t>(std::min<uint64_t>(begin, UINT32_MAX));
  return found;
}

namespace {
// In the DOS header's reserved words (e_res2), which every program made here leaves zero.
constexpr size_t MarkAt = 0x28;
constexpr char Mark[] = "SETUPBND";
}  // namespace

void MarkAsCarrier(std::string& program) {
  if (program.size() >= 0x40) program.replace(MarkAt, 8, Mark);
}

bool MarkedAsCarrier(std::string_view headers) {
  return headers.size() >= MarkAt + 8 && headers.substr(MarkAt, 8) == Mark;
}

uint32_t PayloadLength(std::string_view header) {
  if (header.size() < HeaderSize || header.substr(0, 8) != Magic) return 0;
  return Get32(header, 8);
}

bool MayBeginPayload(std::string_view bytes) {
  return !bytes.empty() && bytes.size() < HeaderSize &&
         std::string_view(Magic).substr(0, bytes.size()) == bytes.substr(0, std::min<size_t>(bytes.size(), 8));
}

Trailer ReadTrailer(std::string_view trailer) {
  if (trailer.size() != TrailerSize) return {};
  return {Get32(trailer, 0), Get32(trailer, 4), std::string(trailer.substr(8))};
}

std::optional<std::vector<Entry>> ReadTable(std::string_view table, const Trailer& trailer) {
  std::vector<Entry> entries;
  size_t at = 0;
  for (uint32_t i = 0; i < trailer.count; ++i) {
    if (at + 18 > table.size()) return std::nullopt;
    Entry e;
    e.offset = Get32(table, at);
    e.size = Get32(table, at + 4);
    e.time = Get32(table, at + 8) | uint64_t{Get32(table, at + 12)} << 32;
    const uint32_t length = Get16(table, at + 16);
    at += 18;
    if (length == 0 || at + length > table.size()) return std::nullopt;
    e.name.assign(table.substr(at, length));
    at += length;
    // Only names as a distribution folder holds them: no folder part, drive or device.
    if (!IsPlainFileName(e.name)) return std::nullopt;
    if (e.offset < HeaderSize || e.offset > trailer.tableOffset || e.size > trailer.tableOffset - e.offset)
      return std::nullopt;
    entries.push_back(std::move(e));
  }
  if (at != table.size()) return std::nullopt;
  return entries;
}

std::string Make(const std::vector<Entry>& files, const std::vector<std::string>& contents) {
  std::string table;
  size_t tableOffset = HeaderSize;  // where the files end
  for (size_t i = 0; i < files.size(); ++i) {
    Put(table, tableOffset, 4);
    Put(table, contents[i].size(), 4);
    Put(table, files[i].time, 8);
    Put(table, files[i].name.size(), 2);
    table += files[i].name;
    tableOffset += contents[i].size();
  }
  std::string out = Magic;
  Put(out, tableOffset + table.size() + TrailerSize, 4);
  for (const std::string& content : contents) out += content;
  out += table;
  Put(out, tableOffset, 4);
  Put(out, files.size(), 4);
  return out + Sha256Of(out);
}
}  // namespace payload

// A distribution appended to SETUP.EXE, so that it travels as one file:
//   "SETUPPAY", the payload's length (4 bytes), the files' bytes one after the other,
//   the table (per file: offset, size, time (8 bytes), name length (2 bytes), name),
//   the trailer: the table's offset, the number of files, and the SHA-256 of everything
//   before it in 64 hex digits. Offsets count from the payload's first byte, numbers are little-endian.
// The payload begins where the program's last section ends; a signature's certificate
// table, when there is one, follows it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace payload {
constexpr uint32_t HeaderSize = 12;
constexpr uint32_t DigestSize = 64;
constexpr uint32_t TrailerSize = 8 + DigestSize;  // table offset, file count, digest

struct Entry {
  std::string name;
  uint32_t offset = 0;  // from the payload's first byte
  uint32_t size = 0;
  uint64_t time = 0;  // FILETIME of the file it was made from
};

// Where data appended to a PE program lies, read from its first bytes (headers) and its
// size: from the end of its last section to its certificate table, or else to its end.
// None when the bytes are no PE program; cut when the certificate table ends beyond the file.
struct Appended {
  uint32_t begin = 0;
  uint32_t end = 0;
  bool cut = false;
  uint32_t securityEntry = 0;  // where the certificate table's directory entry lies in the file
};
std::optional<Appended> FindAppended(std::string_view headers, uint64_t fileSize);

// A program that carries a payload says so in its DOS header (bytes the loader never reads),
// so that one cut exactly where its payload began is known for cut.
void MarkAsCarrier(std::string& program);
bool MarkedAsCarrier(std::string_view headers);

// The payload's length from its first HeaderSize bytes; 0 when they do not begin one.
uint32_t PayloadLength(std::string_view header);
// Whether bytes, fewer than a header, may be the start of one (a download cut there).
bool MayBeginPayload(std::string_view bytes);

struct Trailer {
  uint32_t tableOffset = 0;
  uint32_t count = 0;
  std::string digest;  // hex digits
};
// The trailer, the payload's last TrailerSize bytes.
Trailer ReadTrailer(std::string_view trailer);
// The table (the bytes from the trailer's table offset up to the trailer) with every entry
// inside the files' part of the payload; none when it is malformed.
std::optional<std::vector<Entry>> ReadTable(std::string_view table, const Trailer& trailer);

// What a program carries after its last section.
enum class Carried { None, Whole, Damaged };
// Reads the payload in the appended bytes (begin < end, not cut), a piece at a time:
// read(at, count, into) gives count bytes at the file's offset at, false when it cannot;
// matches(at, count, digest) whether those bytes hash to the digest (hex). Whole, with its
// files in entries, only when every byte is as its trailer's digest says and every entry
// lies within its files' part; None when nothing begins there; else Damaged.
template <typename Read, typename Matches>
Carried ReadPayload(const Appended& appended, Read read, Matches matches, std::vector<Entry>& entries) {
  const uint32_t room = appended.end - appended.begin;
  std::string bytes;
  if (!read(appended.begin, room < HeaderSize ? room : HeaderSize, bytes)) return Carried::Damaged;
  const uint32_t length = PayloadLength(bytes);
  if (!length) return MayBeginPayload(bytes) ? Carried::Damaged : Carried::None;
  if (length < HeaderSize + TrailerSize || length > room ||
      !read(appended.begin + length - TrailerSize, TrailerSize, bytes))
    return Carried::Damaged;
  const Trailer trailer = ReadTrailer(bytes);
  if (!matches(appended.begin, length - DigestSize, trailer.digest) || trailer.tableOffset < HeaderSize ||
      trailer.tableOffset > length - TrailerSize ||
      !read(appended.begin + trailer.tableOffset, length - TrailerSize - trailer.tableOffset, bytes))
    return Carried::Damaged;
  std::optional<std::vector<Entry>> table = ReadTable(bytes, trailer);
  if (!table) return Carried::Damaged;
  entries = std::move(*table);
  return Carried::Whole;
}

// A whole payload of the given files (name and bytes), each with its time.
std::string Make(const std::vector<Entry>& files, const std::vector<std::string>& contents);
}  // namespace payload

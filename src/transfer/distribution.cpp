#include "transfer/distribution.h"
#include "env/system_names.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>
#include <new>
#include <vector>

#include "codec/payload_format.h"
#include "codec/sha256.h"
#include "env/file_system.h"
#include "env/handles.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/settings.h"

namespace {
KernelHandle ownFile;
std::map<std::string, payload::Entry> carriedFiles;  // by their names in lower case
uint32_t payloadStart = 0;

bool ReadAt(HANDLE file, uint32_t at, uint32_t count, std::string& into) {
  into.assign(count, '\0');
  DWORD got = 0;
  return SetFilePointer(file, static_cast<LONG>(at), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
         ReadFile(file, into.data(), count, &got, nullptr) && got == count;
}

bool DigestMatches(HANDLE file, uint32_t at, uint32_t count, const std::string& expected) {
  constexpr DWORD BufferSize = 65536;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[BufferSize]);
  if (!buffer || SetFilePointer(file, static_cast<LONG>(at), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
    return false;
  Sha256 digest;
  for (DWORD got = 0; count; count -= got) {
    if (!ReadFile(file, buffer.get(), std::min<DWORD>(count, BufferSize), &got, nullptr) || !got) return false;
    digest.Add(buffer.get(), got);
  }
  return digest.Matches(expected);
}

// The payload's files, or none when it is cut or damaged.
Carried ReadPayload(HANDLE file, const payload::Appended& appended) {
  using namespace payload;
  const uint32_t room = appended.end - appended.begin;
  std::string bytes;
  if (!ReadAt(file, appended.begin, std::min(room, HeaderSize), bytes)) return Carried::Damaged;
  const uint32_t length = PayloadLength(bytes);
  if (!length) return MayBeginPayload(bytes) ? Carried::Damaged : Carried::None;
  if (length < HeaderSize + TrailerSize || length > room ||
      !ReadAt(file, appended.begin + length - TrailerSize, TrailerSize, bytes))
    return Carried::Damaged;
  const Trailer trailer = ReadTrailer(bytes);
  if (!DigestMatches(file, appended.begin, length - DigestSize, trailer.digest) || trailer.tableOffset < HeaderSize ||
      trailer.tableOffset > length - TrailerSize ||
      !ReadAt(file, appended.begin + trailer.tableOffset, length - TrailerSize - trailer.tableOffset, bytes))
    return Carried::Damaged;
  std::optional<std::vector<Entry>> table = ReadTable(bytes, trailer);
  if (!table) return Carried::Damaged;
  for (payload::Entry& entry : *table) carriedFiles.emplace(LowerCase(entry.name), std::move(entry));
  payloadStart = appended.begin;
  return Carried::Whole;
}
}  // namespace

Carried OpenCarriedDistribution() {
  KernelHandle file = FromCreateFile(CreateFileNamed(GetExePath(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
  if (!file) return Carried::None;
  const DWORD size = GetFileSize(file.Get(), nullptr);
  std::string headers;
  if (size == INVALID_FILE_SIZE || !ReadAt(file.Get(), 0, std::min<DWORD>(size, 4096), headers)) return Carried::None;
  const std::optional<payload::Appended> appended = payload::FindAppended(headers, size);
  if (!appended || (appended->begin == appended->end && !appended->cut)) return Carried::None;
  const Carried found = appended->cut ? Carried::Damaged : ReadPayload(file.Get(), *appended);
  if (found == Carried::Whole) ownFile = std::move(file);
  return found;
}

bool CarriesDistribution() { return static_cast<bool>(ownFile); }

FileSpan DistributionFile(const std::string& name) {
  if (!CarriesDistribution()) return AppDir + name;
  const auto found = carriedFiles.find(LowerCase(name));
  if (found == carriedFiles.end()) return DistributionDir() + name;
  const payload::Entry& entry = found->second;
  return FileSpan(GetExePath(), payloadStart + entry.offset, entry.size, entry.time, ownFile.Get());
}

bool DistributionHas(const std::string& name) {
  return CarriesDistribution() ? carriedFiles.count(LowerCase(name)) != 0 : FileExists(AppDir + name);
}

std::string DistributionDir() { return CarriesDistribution() ? GetExePath() + "\\" : AppDir; }

std::string DamagedDownloadText(const std::string& path) {
  return "Die Datei " + path + " ist unvollständig oder beschädigt: es wurde nichts installiert.\r\r"
         "Laden Sie das Programm bitte erneut herunter.";
}

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
  std::vector<payload::Entry> table;
  const Carried found = payload::ReadPayload(
      appended, [file](uint32_t at, uint32_t count, std::string& into) { return ReadAt(file, at, count, into); },
      [file](uint32_t at, uint32_t count, const std::string& digest) { return DigestMatches(file, at, count, digest); },
      table);
  if (found != Carried::Whole) return found;
  // Two entries of one name: which would the installation take? Whoever made it, not us.
  for (payload::Entry& entry : table)
    if (!carriedFiles.emplace(LowerCase(entry.name), std::move(entry)).second) {
      carriedFiles.clear();
      return Carried::Damaged;
    }
  payloadStart = appended.begin;
  return Carried::Whole;
}
}  // namespace

Carried OpenCarriedDistribution() {
  KernelHandle file = FromCreateFile(
      CreateFileNamed(GetExePath(), GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL));
  if (!file) return Carried::None;
  const DWORD size = GetFileSize(file.Get(), nullptr);
  std::string headers;
  if (size == INVALID_FILE_SIZE || !ReadAt(file.Get(), 0, std::min<DWORD>(size, 4096), headers)) return Carried::None;
  const std::optional<payload::Appended> appended = payload::FindAppended(headers, size);
  if (!appended) return Carried::None;
  // Nothing after the program: a plain SETUP.EXE, or a download cut where its payload began.
  if (appended->begin == appended->end && !appended->cut)
    return payload::MarkedAsCarrier(headers) ? Carried::Damaged : Carried::None;
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
  return "Die Datei " + path +
         " ist unvollständig oder beschädigt: es wurde nichts installiert.\r\r"
         "Laden Sie das Programm bitte erneut herunter.";
}

#include "env/run_record.h"

#include <windows.h>

#include "env/file_system.h"
#include "env/handles.h"
#include "env/paths.h"
#include "env/system_names.h"

namespace {
KernelHandle record;
}  // namespace

bool OpenRunRecord(const std::string& path) {
  // As for any file a deployment tool names: the folders it lies in are made when missing.
  if (const std::string dir = ExtractFilePath(path); !dir.empty()) ForceDirectories(dir);
  record = FromCreateFile(CreateFileNamed(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL));
  return record.Valid();
}

void RecordRun(std::initializer_list<std::string_view> pieces) {
  if (!record) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  char stamp[32];
  wsprintfA(stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u ", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
            now.wSecond, now.wMilliseconds);
  std::string line = stamp;
  // A message's line breaks, one or more, become one blank.
  for (const std::string_view piece : pieces)
    for (const char c : piece)
      if (c != '\r' && c != '\n')
        line += c;
      else if (line.back() != ' ')
        line += ' ';
  line += "\r\n";
  DWORD written = 0;
  WriteFile(record.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

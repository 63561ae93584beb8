#include "env/run_record.h"

#include <windows.h>

#include "env/handles.h"
#include "env/paths.h"

namespace {
KernelHandle record;

std::string TwoDigits(unsigned value) { return {char('0' + value / 10 % 10), char('0' + value % 10)}; }
}  // namespace

bool OpenRunRecord(const std::string& path) {
  record = FromCreateFile(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  return record.Valid();
}

void RecordRun(const std::string& text) {
  if (!record) return;
  SYSTEMTIME now;
  GetLocalTime(&now);
  std::string line = Concat({DecimalText(now.wYear), "-", TwoDigits(now.wMonth), "-", TwoDigits(now.wDay), " ",
                             TwoDigits(now.wHour), ":", TwoDigits(now.wMinute), ":", TwoDigits(now.wSecond), " "});
  for (const char c : text)
    if (c != '\r') line += c == '\n' ? ' ' : c;
  line += "\r\n";
  DWORD written = 0;
  WriteFile(record.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

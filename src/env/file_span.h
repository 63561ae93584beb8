// Where bytes to read lie: a whole file, or a part of one (a file that a one-file download
// carries inside the program).
#pragma once
#include <cstdint>
#include <string>
#include <utility>

struct FileSpan {
  FileSpan(std::string file, uint32_t from = 0, uint32_t length = UINT32_MAX, uint64_t written = 0,
           void* open = nullptr)
      : path(std::move(file)), offset(from), size(length), time(written), handle(open) {}
  FileSpan(const char* file) : path(file) {}
  std::string path;  // for messages too
  uint32_t offset = 0;
  uint32_t size = UINT32_MAX;  // to the file's end
  uint64_t time = 0;           // a FILETIME the part was written at; 0: the file's own
  void* handle = nullptr;      // the file, held open by its owner (Windows); else it is opened by path
};

// Whole files: texts read for display, small files the program keeps (logs, WININIT.INI).
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "env/file_span.h"
#include "env/handles.h"

// The file to read span from, at the span's start: the handle the span holds, or the file
// opened by its path into opened; none when it cannot be opened.
HANDLE OpenSpan(const FileSpan& span, KernelHandle& opened, DWORD flags = FILE_ATTRIBUTE_NORMAL);

// The file's bytes with every line ending made CR LF, as multi-line edits want them; none
// when it cannot be opened. The bytes as they lie in the file land in raw, when given.
std::optional<std::string> LoadTextFile(const FileSpan& file, std::string* raw = nullptr);
// The file's bytes as they lie (of a span: those in it); none when they cannot all be read.
std::optional<std::string> ReadFileBytes(const FileSpan& file);
// Creates or overwrites the file with bytes; false when they are not all written.
// onDisk: not only in the system's cache when it returns true.
bool WriteFileBytes(const std::string& path, const std::string& bytes, bool onDisk = false);

#include "codec/expander.h"

#include <cstdio>
#include <memory>
#include <new>

#include "codec/lzh_decoder.h"
#include "codec/sha256.h"
#include "env/paths.h"

#ifdef _WIN32
#include <windows.h>

#include "env/system_names.h"
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr size_t BufferSize = 32768;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// Whether the two paths name one existing file, whatever way they spell it.
bool SameFile(const std::string& a, const std::string& b) {
#ifdef _WIN32
  auto identity = [](const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE h = CreateFileNamed(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(h, &info) != 0;
    CloseHandle(h);
    return ok;
  };
  BY_HANDLE_FILE_INFORMATION x, y;
  return identity(a, x) && identity(b, y) && x.dwVolumeSerialNumber == y.dwVolumeSerialNumber &&
         x.nFileIndexHigh == y.nFileIndexHigh && x.nFileIndexLow == y.nFileIndexLow;
#else
  struct stat x, y;
  return stat(a.c_str(), &x) == 0 && stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev && x.st_ino == y.st_ino;
#endif
}

// Two names can only reach one file when their last parts agree (letter case aside) or one
// is a short alias ("ADRESS~1.EX_"). Saves asking the file system about a target that does
// not exist yet, which Wine answers by reading the whole directory.
bool MayNameOneFile(const std::string& a, const std::string& b) {
  auto lastPart = [](const std::string& path) { return LowerCase(path.substr(path.find_last_of("\\/:") + 1)); };
  const std::string x = lastPart(a), y = lastPart(b);
  return x == y || x.find('~') != std::string::npos || y.find('~') != std::string::npos;
}

// The compressed file as it is read: every byte read goes into its digest, when one is kept.
// A file held open by its owner (a part of the program file) is read through its handle.
struct Source {
  std::FILE* file;
  Sha256* digest;
  mutable uint32_t left;  // bytes of the span not read yet
  void* handle = nullptr;
  mutable bool failed = false;
  size_t Read(unsigned char* into, size_t n) const {
    n = n < left ? n : left;
    const size_t got = handle ? ReadHeld(into, n) : std::fread(into, 1, n, file);
    left -= static_cast<uint32_t>(got);
    if (digest) digest->Add(into, got);
    return got;
  }
  bool Failed() const { return failed || (file && std::ferror(file)); }
  size_t ReadHeld(unsigned char* into, size_t n) const {
#ifdef _WIN32
    DWORD got = 0;
    failed = !ReadFile(handle, into, static_cast<DWORD>(n), &got, nullptr) || failed;
    return got;
#else
    (void)into, (void)n;
    return 0;  // only Windows hands over a file held open
#endif
  }
};

// The decoder's byte source: the compressed file in blocks of 32768 bytes.
class BufferedInput {
 public:
  BufferedInput(const Source& source, unsigned char* buffer) : source_(source), buffer_(buffer) {}
  // At the end of the file it gives nothing; a later call tries the file again. A read error
  // gives nothing either, and is remembered.
  size_t Read(const uint8_t*& block) {
    const size_t got = source_.Read(buffer_, BufferSize);
    failed_ = failed_ || (got == 0 && source_.Failed());
    block = buffer_;
    return got;
  }
  bool Failed() const { return failed_; }

 private:
  const Source& source_;
  unsigned char* buffer_;
  bool failed_ = false;
};

// The decoder's byte sink: the target file in blocks of 32768 bytes, hashed on the way when
// a digest is kept.
class BufferedOutput {
 public:
  BufferedOutput(std::FILE* file, unsigned char* buffer, Sha256* digest)
      : file_(file), buffer_(buffer), digest_(digest) {}
  uint8_t* Buffer() { return buffer_; }
  bool Write(size_t n) {
    if (digest_) digest_->Add(buffer_, n);
    return n == 0 || std::fwrite(buffer_, 1, n, file_) == n;
  }

 private:
  std::FILE* file_;
  unsigned char* buffer_;
  Sha256* digest_;
};

int32_t LittleEndian32(const unsigned char* b) {
  return static_cast<int32_t>(static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                              static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24);
}

ExpandFailure FileLayerFailure(std::string message) {
  return {ExpandFailureClass::ELzrw1Exception, std::move(message)};
}
ExpandFailure CannotOpen(const std::string& target) { return FileLayerFailure("Konnte " + target + " nicht öffnen!"); }
ExpandFailure CannotRead(const std::string& source) { return FileLayerFailure("ERROR READING FROM " + source + " !"); }
ExpandFailure CannotWrite(const std::string& target) { return FileLayerFailure("ERROR WRITING TO " + target + " !"); }

// One four-byte field of the header.
bool ReadHeaderField(const Source& in, unsigned char* field) { return in.Read(field, 4) == 4; }

std::optional<ExpandFailure> Decode(const Source& in, std::FILE* out, Sha256* outDigest, int32_t size,
                                    const std::string& source, const std::string& target) {
  std::unique_ptr<unsigned char[]> readBuffer(new (std::nothrow) unsigned char[BufferSize]);
  std::unique_ptr<unsigned char[]> writeBuffer(new (std::nothrow) unsigned char[BufferSize]);
  if (!readBuffer || !writeBuffer) return FileLayerFailure("Zu wenig Speicher für I/O Buffers !!");
  BufferedInput input(in, readBuffer.get());
  BufferedOutput output(out, writeBuffer.get(), outDigest);
  using StreamDecoder = lzh::Decoder<BufferedInput, BufferedOutput, BufferSize>;
  std::unique_ptr<StreamDecoder> decoder(new (std::nothrow) StreamDecoder(input, output));
  if (!decoder)
    return ExpandFailure{ExpandFailureClass::ElzhException, "LZH : Cannot get memory for dictionary tables"};
  const char* stop = decoder->Decode(size);
  if (input.Failed()) return FileLayerFailure("Lesefehler: " + source + " !");
  if (stop == lzh::SinkRefused) return CannotWrite(target);
  if (stop) return FileLayerFailure(source + ": Beschädigte komprimierte Datei (" + stop + ")");
  return std::nullopt;
}

// The expansion goes to a fresh file beside the target, which takes the target's place only
// when it is complete: a damaged source leaves no partial file, and an earlier installed
// version stays as it was.
class PendingTarget {
 public:
  PendingTarget(const std::string& target, const std::string& scratchDir) : target_(target), scratchDir_(scratchDir) {}
  ~PendingTarget() {
    if (file_) std::fclose(file_);
    if (!temporary_.empty()) std::remove(temporary_.c_str());
  }
  PendingTarget(const PendingTarget&) = delete;
  PendingTarget& operator=(const PendingTarget&) = delete;

  std::FILE* Get() const { return file_; }

  // The hook refusing stops it, the target untouched; its reason is the hook's to give.
  std::optional<ExpandFailure> Commit(const ReplaceHook& beforeReplace) {
    std::FILE* done = file_;
    file_ = nullptr;
    const bool flushed = std::fflush(done) == 0;
    if (std::fclose(done) != 0 || !flushed) return CannotWrite(target_);
    const Placement placement = beforeReplace ? beforeReplace(temporary_) : Placement::Move;
    if (placement == Placement::Refuse || (placement == Placement::Move && !Replace())) return CannotOpen(target_);
    temporary_.clear();
    return std::nullopt;
  }

#ifdef _WIN32
  bool Create() {
    const size_t slash = target_.find_last_of("\\/");
    const std::string dir = !scratchDir_.empty()         ? scratchDir_
                            : slash == std::string::npos ? std::string(".")
                                                         : target_.substr(0, slash + 1);
    temporary_ = TempFileNamed(dir, "exp");
    if (temporary_.empty()) return false;
    file_ = std::fopen(temporary_.c_str(), "wb");
    return file_ != nullptr;
  }
  bool Replace() const { return MoveIntoPlace(temporary_, target_); }
#else
  bool Create() {
    std::string name = (scratchDir_.empty() ? target_ : scratchDir_ + "/expand") + ".XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) return false;
    temporary_ = name;
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    file_ = fdopen(fd, "wb");
    if (!file_) close(fd);
    return file_ != nullptr;
  }
  bool Replace() const { return std::rename(temporary_.c_str(), target_.c_str()) == 0; }
#endif

 private:
  const std::string& target_;
  const std::string& scratchDir_;
  std::string temporary_;
  std::FILE* file_ = nullptr;
};
}  // namespace

#ifdef _WIN32
bool MoveIntoPlace(const std::string& temporary, const std::string& target, unsigned long moreFlags) {
  if (MoveFileExNamed(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED | moreFlags)) return true;
  if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  // The Windows 95 family has no replacing move.
  if (!DeleteFileNamed(target) && GetLastError() != ERROR_FILE_NOT_FOUND) return false;
  return MoveFileNamed(temporary, target);
}
#endif

namespace {
// Header and stream of the compressed file into out.
std::optional<ExpandFailure> Expand(const Source& in, std::FILE* out, FileContent* written, const std::string& source,
                                    const std::string& target) {
  unsigned char field[4];
  if (!ReadHeaderField(in, field)) return CannotRead(source);
  if (std::memcmp(field, lzh::Signature, 4) != 0) return FileLayerFailure(source + ": Keine komprimierte Datei!");
  if (!ReadHeaderField(in, field)) return CannotRead(source);
  const int32_t size = LittleEndian32(field);
  if (size < 0) return FileLayerFailure(source + ": Beschädigte komprimierte Datei (negative Größe)");
  Sha256 digest;
  std::optional<ExpandFailure> failure = Decode(in, out, written ? &digest : nullptr, size, source, target);
  if (written) *written = {digest.Length(), digest.HexDigest()};
  return failure;
}

// Whether the file's bytes, those read so far and the rest, are the expected ones.
bool MatchesDigest(const Source& in, const std::string& expected) {
  unsigned char rest[4096];
  while (in.Read(rest, sizeof rest) > 0) {
  }
  return !in.Failed() && in.digest->Matches(expected);
}
}  // namespace

std::optional<ExpandFailure> ExpandFileChecked(const FileSpan& span, const std::string& target,
                                               const std::string& scratchDir, const ReplaceHook& beforeReplace,
                                               const std::string& expectedSha256, FileContent* written) {
  const std::string& source = span.path;
  File in(span.handle ? nullptr : std::fopen(source.c_str(), "rb"));
#ifdef _WIN32
  if (span.handle &&
      SetFilePointer(span.handle, static_cast<LONG>(span.offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
    return CannotRead(source);
#endif
  if (!in && !span.handle) return FileLayerFailure(source + " nicht gefunden!");
  // Expanding a file onto itself would put the expanded text in place of the compressed one.
  if (MayNameOneFile(source, target) && SameFile(source, target)) return CannotOpen(target);
  PendingTarget out(target, scratchDir);
  if (!out.Create()) return CannotOpen(target);
  Sha256 digest;
  const Source input{in.get(), expectedSha256.empty() ? nullptr : &digest, span.size, span.handle};
  std::optional<ExpandFailure> failure = Expand(input, out.Get(), written, source, target);
  if (input.digest && !MatchesDigest(input, expectedSha256))
    return ExpandFailure{ExpandFailureClass::ELzrw1Exception, source + ": Die Datei ist beschädigt!", true};
  if (failure) return failure;
  return out.Commit(beforeReplace);
}

bool ExpandFile(const FileSpan& source, const std::string& target, const std::string& scratchDir,
                const ReplaceHook& beforeReplace) {
  return !ExpandFileChecked(source, target, scratchDir, beforeReplace);
}

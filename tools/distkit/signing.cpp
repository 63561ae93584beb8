#include "signing.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#ifndef _WIN32
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

namespace fs = std::filesystem;

namespace {
// Runs a program without a shell; its exit status and what it wrote (both streams), or -1
// when it cannot be started.
int Run(const std::vector<std::string>& args, std::string& output) {
#ifdef _WIN32
  (void)args;
  output = "osslsigncode is run only by the toolkit's Linux build";
  return -1;
#else
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 2);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int started = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  char buffer[4096];
  ssize_t got;
  while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0) output.append(buffer, static_cast<size_t>(got));
  close(pipeEnds[0]);
  if (started != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
#endif
}

// Whether the PE file has a certificate table (the data directory's fifth entry).
bool HasCertificateTable(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<char> head(4096);
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  const size_t size = static_cast<size_t>(in.gcount());
  const auto u32 = [&](size_t at) {
    return at + 4 > size
               ? 0u
               : static_cast<uint32_t>(static_cast<uint8_t>(head[at]) | static_cast<uint8_t>(head[at + 1]) << 8 |
                                       static_cast<uint8_t>(head[at + 2]) << 16 |
                                       static_cast<uint32_t>(static_cast<uint8_t>(head[at + 3])) << 24);
  };
  const size_t pe = u32(0x3C);
  if (size < 64 || head[0] != 'M' || head[1] != 'Z' || u32(pe) != 0x4550) return false;
  const size_t optional = pe + 24;
  const bool pe32plus = (u32(optional) & 0xFFFF) == 0x20B;
  const size_t directories = optional + (pe32plus ? 112 : 96);
  return u32(directories + 4 * 8 + 4) != 0;
}

// The text after "label" on the first line that has it, blanks trimmed.
std::string After(const std::string& text, const std::string& label) {
  const size_t at = text.find(label);
  if (at == std::string::npos) return {};
  const size_t from = text.find_first_not_of(" :\t", at + label.size()), end = text.find('\n', at);
  if (from == std::string::npos || from > end) return {};
  const std::string value = text.substr(from, end - from);
  return value.substr(0, value.find_last_not_of(" \r\t") + 1);
}
}  // namespace

std::string SignFile(const std::string& file, const std::string& certificate, const std::string& passwordFile,
                     const std::string& timestampUrl) {
  const std::string signedFile = file + ".signed";
  std::vector<std::string> args = {"osslsigncode", "sign", "-pkcs12", certificate, "-n", "Setup", "-h", "sha256"};
  if (!passwordFile.empty()) args.insert(args.end(), {"-readpass", passwordFile});
  if (!timestampUrl.empty()) args.insert(args.end(), {"-ts", timestampUrl});
  // A reproducible release is signed at its release time, not at the wall clock's, so that
  // two signed builds are alike to the byte (a time-stamp server's answer never is).
  if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) args.insert(args.end(), {"-time", epoch});
  args.insert(args.end(), {"-in", file, "-out", signedFile});
  std::string output;
  const int status = Run(args, output);
  std::error_code ec;
  if (status != 0) {
    fs::remove(signedFile, ec);
    return "signing failed" + (status < 0 ? std::string(" (is osslsigncode installed?)") : "") + ": " + output;
  }
  fs::rename(signedFile, file, ec);
  return ec ? file + ": the signed file cannot be put in place (" + ec.message() + ")" : "";
}

SignatureReport CheckSignature(const std::string& file) {
  if (!HasCertificateTable(file)) return {SignatureState::None, "no signature"};
  std::string output;
  int status = Run({"osslsigncode", "verify", "-in", file}, output);
  if (status < 0) return {SignatureState::Unknown, "osslsigncode, which reads signatures, is not installed"};
  // A machine without the system's bundle of trusted certificates: osslsigncode then stops
  // before it reads the signature at all. Read it with an empty trust store instead; nothing
  // is trusted there.
  if (After(output, "Current message digest").empty())
    status = Run({"osslsigncode", "verify", "-CAfile", "/dev/null", "-in", file}, output);
  const std::string current = After(output, "Current message digest"),
                    calculated = After(output, "Calculated message digest");
  if (current.empty() || current != calculated)
    return {SignatureState::Broken,
            current.empty() ? "the signature cannot be read" : "the file was changed after it was signed"};
  const std::string signer = After(output, "Subject");
  return {SignatureState::Valid,
          "signed by " + signer +
              (status == 0 ? ", a certificate trusted here" : "; its certificate is not trusted on this machine")};
}

#include "check.h"

#include "commands.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>

#include "codec/expander.h"
#include "codec/name_mapping.h"
#include "codec/sha256.h"
#include "console.h"
#include "env/install_names.h"
#include "env/paths.h"
#include "env/removal_rules.h"
#include "install/script_reader.h"
#include "signing.h"
#include "env/unicode.h"

namespace fs = std::filesystem;

namespace {
std::string Number(size_t n) { return std::to_string(n); }

// Windows' ANSI file functions fail on a path of 260 characters or more; the installer's
// temporary files take 14 of them beside the directory's path.
constexpr size_t MaxPath = 260, TempFileName = 14;

class Checker {
 public:
  explicit Checker(const std::string& dir) : dir_(dir) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir_, ec))
      names_[LowerCase(entry.path().filename().string())] = entry.path().filename().string();
  }

  std::vector<Finding> Run() {
    if (!Present("SETUP.EXE"))
      Error("", 0, "SETUP.EXE is missing");
    else
      CheckSigned((dir_ / names_["setup.exe"]).string());
    if (!Present("Setup.lst")) {
      Error("", 0, "the setup script Setup.lst is missing");
      return findings_;
    }
    for (const char* name : {"Liesmich.txt", "Vertrag.Txt"})
      if (!Present(name))
        Warning("", 0, std::string(name) + " is missing: the wizard reports it and goes on");
      else
        CheckEncoding(name, Read(name));
    const std::string text = Read("Setup.lst");
    CheckBytes(text);
    CheckEncoding("Setup.lst", text);
    const ScriptReader script(DistributionText(text));
    for (const char* section : {"General", "StartMenu", "Group", "programfiles", "Windows", "Items"})
      if (const int line = script.RepeatedHeaderLine(section))
        Error("Setup.lst", line,
              std::string("[") + section +
                  "] appears a second time: the installer "
                  "reads only the first, and nothing of this one");
    CheckGeneral(script);
    std::vector<std::string> installed;
    CheckList(script, "programfiles", installed);
    std::vector<std::string> windows;
    CheckList(script, "Windows", windows);
    CheckItems(script, installed);
    CheckChecksums(script);
    return findings_;
  }

 private:
  void Error(const std::string& file, int line, const std::string& message) {
    findings_.push_back({true, file, line, message});
  }
  void Warning(const std::string& file, int line, const std::string& message) {
    findings_.push_back({false, file, line, message});
  }
  void Note(const std::string& file, int line, const std::string& message) {
    findings_.push_back({false, file, line, message, true});
  }
  bool Present(const std::string& name) const { return names_.count(LowerCase(name)) != 0; }
  std::string Read(const std::string& name) {
    std::ifstream in(dir_ / names_[LowerCase(name)], std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  // UTF-8's letters are pairs and triples of bytes that are CP1252 letters too, so such a text
  // passes as CP1252 and the installer shows "fÃ¼r" for "für": a multi-byte sequence in a
  // text without a byte-order mark is almost never meant.
  void CheckEncoding(const std::string& name, const std::string& text) {
    if (text.starts_with(Utf8Bom)) {
      // The installer reads it as UTF-8: a byte of no UTF-8 letter would show as a square.
      if (!IsUtf8(text.substr(Utf8Bom.size())))
        Error(name, 0, "begins with a UTF-8 byte-order mark, but is no valid UTF-8: save it as UTF-8 again");
      return;
    }
    int line = 1;
    for (size_t i = 0; i < text.size(); ++i) {
      const unsigned char c = static_cast<unsigned char>(text[i]);
      line += c == '\n';
      const size_t follow = c >= 0xC2 && c <= 0xDF ? 1 : c >= 0xE0 && c <= 0xEF ? 2 : c >= 0xF0 && c <= 0xF4 ? 3 : 0;
      bool sequence = follow > 0 && i + follow < text.size();
      for (size_t k = 1; sequence && k <= follow; ++k)
        sequence = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
      if (!sequence) continue;
      Warning(name, line,
              "UTF-8 without a byte-order mark: the installer reads CP1252 and would show \"" +
                  text.substr(i, follow + 1) + "\" for what it means; save it as CP1252");
      return;
    }
  }

  void CheckSigned(const std::string& setup) {
    const SignatureReport report = CheckSignature(setup);
    if (report.state == SignatureState::Valid) Note("SETUP.EXE", 0, report.detail);
    if (report.state == SignatureState::Broken) Error("SETUP.EXE", 0, "the signature is broken: " + report.detail);
    if (report.state == SignatureState::Unknown) Warning("SETUP.EXE", 0, "signed, but unchecked: " + report.detail);
    if (report.state == SignatureState::None)
      Warning("SETUP.EXE", 0,
              "not signed: Windows warns about an unsigned program, or policy blocks it "
              "(distkit build --sign CERT.pfx)");
  }

  void CheckBytes(const std::string& text) {
    const bool utf8 = text.starts_with(Utf8Bom);
    int line = 1;
    bool warned = false;
    for (const unsigned char c : text) {
      if (c == '\n') ++line;
      if (c < 0x20 && c != '\t' && c != '\r' && c != '\n') {
        Error("Setup.lst", line,
              "control bytes: this is not a text file, and the installer would "
              "read its lines wrongly");
        return;
      }
      const bool undefined = !utf8 && (c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D);
      if (undefined && !warned) Warning("Setup.lst", line, "bytes that are not CP1252 text");
      warned = warned || undefined;
    }
  }

  void CheckGeneral(const ScriptReader& script) {
    if (const auto group = script.Find("Group", "Name"); group && group->value.empty())
      Warning("Setup.lst", group->line,
              "\"Group\"/\"Name\" is empty: no program group, no uninstall "
              "registration and no closing message");
    // The registration's key: one name, and no longer than the registry takes.
    if (const auto folder = script.Find("StartMenu", "Folder"); folder && !IsRegistryKeyName(folder->value))
      Error("Setup.lst", folder->line,
            "\"StartMenu\"/\"Folder\" is no registry key name (one name of at most 255 "
            "characters, no \"\\\"): the installation could not register");
    if (!script.Find("StartMenu", "Folder"))
      Warning("Setup.lst", 0,
              "\"StartMenu\"/\"Folder\" is missing: the program registers as "
              "\"Unbenannt\" and overwrites every other program that does");
    for (const char* key : {"Version", "Publisher"})
      if (const auto value = script.Find("General", key); !value || value->value.empty())
        Warning("Setup.lst", value ? value->line : 0,
                std::string("\"General\"/\"") + key + "\" is missing: the registration has no " +
                    (key[0] == 'V' ? "DisplayVersion" : "Publisher") + ", which deployment tools match and show");
    const auto path = script.Find("General", "defaultPath");
    const std::string value = path ? path->value : "";
    const bool absolute = value.size() > 3 && ((value[1] == ':' && value[2] == '\\') || value.starts_with("\\\\"));
    if (!absolute)
      Warning("Setup.lst", path ? path->line : 0,
              "\"General\"/\"defaultPath\" \"" + value + "\" is not an absolute path of more than three characters");
    if (!absolute) return;
    defaultPath_ = IncludeBackslash(value);
    if (defaultPath_.size() + TempFileName > MaxPath)
      Error("Setup.lst", path->line,
            "\"General\"/\"defaultPath\" has " + Number(defaultPath_.size()) +
                " characters: the installer's temporary files in it would reach 260, "
                "where Windows' file functions fail");
  }

  // A numbered list as the installer reads it: N keys, then the names of keys 1 to N.
  void CheckList(const ScriptReader& script, const std::string& section, std::vector<std::string>& targets) {
    const std::vector<ScriptEntry> entries = script.Section(section);
    const size_t n = entries.size();
    std::map<std::string, int> seen;  // installed name -> line
    for (const ScriptEntry& entry : entries) {
      const std::string& key = entry.key;
      const bool number = !key.empty() && key[0] != '0' && key.find_first_not_of("0123456789") == std::string::npos &&
                          key.size() < 10 && std::stoul(key) <= n;
      if (!number)
        Error("Setup.lst", entry.line,
              "[" + section + "] key \"" + key + "\" is not one of 1.." + Number(n) +
                  ": the installer never reaches this entry");
    }
    for (size_t k = 1; k <= n; ++k) {
      const std::optional<ScriptEntry> entry = script.Find(section, Number(k));
      if (!entry) {
        Error("Setup.lst", 0, "[" + section + "] has no key " + Number(k) + ": the installer reads an empty name");
        continue;
      }
      CheckFile(section, *entry, seen, targets);
    }
  }

  void CheckFile(const std::string& section, const ScriptEntry& entry, std::map<std::string, int>& seen,
                 std::vector<std::string>& targets) {
    const std::string& name = entry.value;
    if (name.empty()) {
      Error("Setup.lst", entry.line, "[" + section + "] entry " + entry.key + " is empty");
      return;
    }
    const std::string target = MapCompressedName(name);
    if (!IsPlainFileName(name) || !IsPlainFileName(target)) {
      Error("Setup.lst", entry.line,
            "[" + section + "] entry " + entry.key + " \"" + name +
                "\" is not a plain file name (a folder part, drive, wildcard, device "
                "name or over 255 characters): the installer refuses it");
      return;
    }
    targets.push_back(target);
    if (const auto [at, fresh] = seen.emplace(LowerCase(target), entry.line); !fresh)
      Error("Setup.lst", entry.line,
            "[" + section + "] " + name + " installs to " + target + " like the entry on line " + Number(at->second));
    const size_t pathLength = defaultPath_.size() + target.size();
    if (section == "programfiles" && !defaultPath_.empty() && pathLength >= MaxPath)
      Error("Setup.lst", entry.line,
            "[" + section + "] " + name + " installs to a path of " + Number(pathLength) +
                " characters under \"defaultPath\": Windows' file functions fail at 260");
    if (section == "programfiles" && LowerCase(target) == "uninstal.exe")
      Error("Setup.lst", entry.line, name + " would be overwritten by the uninstaller");
    if (section == "programfiles" && LowerCase(target) == InstallLogName)
      Error("Setup.lst", entry.line, name + " has the install log's name: the log would be written over it");
    if (LowerCase(name).find("beispiel.") != std::string::npos)
      Warning("Setup.lst", entry.line,
              name +
                  " is a sample file: it is not installed where the "
                  "directory already holds Beispiel.hdb");
    if (IsCompressedName(name) && target == name)
      Warning("Setup.lst", entry.line,
              name +
                  ": the installer does not know the extension and "
                  "installs the file under its compressed name");
    if (!Present(name)) {
      Error("Setup.lst", entry.line, "[" + section + "] " + name + " is missing from the distribution");
      return;
    }
    read_.emplace(LowerCase(name), entry.line);
    if (IsCompressedName(name)) CheckExpands(name, entry.line);
  }

  void CheckExpands(const std::string& name, int line) {
    const fs::path source = dir_ / names_[LowerCase(name)];
    const fs::path scratch =
        fs::temp_directory_path() / ("distkit-check-" + std::to_string(reinterpret_cast<uintptr_t>(this)));
    if (const auto failure = ExpandFileChecked(PathText(source), PathText(scratch)))
      Error("Setup.lst", line, name + " does not expand: " + InEnglish(failure->message));
    std::error_code ec;
    fs::remove(scratch, ec);
  }

  // Each file the installer reads against the checksum the script records for it: a damaged
  // one it would refuse, one without a checksum it cannot tell from a damaged one.
  void CheckChecksums(const ScriptReader& script) {
    if (!script.HasSection(ChecksumSection)) {
      Warning("Setup.lst", 0,
              std::string("no [") + ChecksumSection +
                  "] section: the installer cannot tell a "
                  "damaged file from a good one (distkit build writes it)");
      return;
    }
    for (const char* always : {"Liesmich.txt", "Vertrag.Txt", "SETUP.EXE"})
      if (Present(always)) read_.emplace(LowerCase(always), 0);
    for (const auto& [name, line] : read_) {
      const std::string& onDisk = names_[name];
      const std::optional<ScriptEntry> recorded = script.Find(ChecksumSection, onDisk);
      if (!recorded) {
        Warning(
            "Setup.lst", line,
            onDisk + " has no checksum in [" + ChecksumSection + "]: the installer cannot tell whether it is damaged");
        continue;
      }
      const std::optional<std::string> digest = FileSha256(PathText(dir_ / onDisk));
      if (!digest || *digest != LowerCase(recorded->value))
        Error("Setup.lst", recorded->line,
              onDisk + " is damaged: its SHA-256 is " + digest.value_or("unreadable") + ", [" + ChecksumSection +
                  "] records " + recorded->value + "; the installer refuses it");
    }
  }

  void CheckItems(const ScriptReader& script, const std::vector<std::string>& installed) {
    const std::vector<ScriptEntry> items = script.Section("Items");
    for (const ScriptEntry& item : items) {
      bool found = false;
      for (const std::string& target : installed) found = found || LowerCase(target) == LowerCase(item.key);
      if (!found)
        Error(
            "Setup.lst", item.line,
            "the shortcut \"" + item.value + "\" points to " + item.key + ", which the installation does not install");
    }
    if (items.empty()) return;
    const auto name = script.Find("General", "Name");
    const std::string program = name ? name->value : "Programm";
    if (items.front().value.substr(0, 255) != program)
      Warning("Setup.lst", items.front().line,
              "the first shortcut is named \"" + items.front().value + "\", the program \"" + program +
                  "\": the uninstaller looks for the desktop and Start-menu shortcuts under the "
                  "program's name, so these would stay");
  }

  fs::path dir_;
  std::map<std::string, std::string> names_;  // lower-cased -> as on disk
  std::map<std::string, int> read_;           // lower-cased names the installer reads -> their line
  std::vector<Finding> findings_;
  std::string defaultPath_;  // with its backslash; empty when not absolute
};

std::string JsonText(const std::string& text) {
  std::string out = "\"";
  for (const unsigned char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}
}  // namespace

std::vector<Finding> CheckDistribution(const std::string& dir) { return Checker(dir).Run(); }

std::string FindingsText(const std::vector<Finding>& findings) {
  std::string text;
  for (const Finding& f : findings) {
    if (!f.file.empty()) {
      text += f.file;
      if (f.line) text.append(":").append(Number(static_cast<size_t>(f.line)));
      text += ": ";
    }
    text.append(f.error ? "error: " : f.note ? "note: " : "warning: ").append(f.message).append("\n");
  }
  return text;
}

std::string FindingsJson(const std::vector<Finding>& findings) {
  std::string json = "[";
  for (size_t i = 0; i < findings.size(); ++i) {
    const Finding& f = findings[i];
    json += std::string(i ? ",\n " : "\n ") + "{\"severity\": " +
            (f.error  ? "\"error\""
             : f.note ? "\"note\""
                      : "\"warning\"") +
            ", \"file\": " + JsonText(f.file) + ", \"line\": " + Number(static_cast<size_t>(f.line)) +
            ", \"message\": " + JsonText(f.message) + "}";
  }
  return json + (findings.empty() ? "]\n" : "\n]\n");
}

int CheckExitStatus(const std::vector<Finding>& findings, bool strict) {
  bool warning = false;
  for (const Finding& f : findings) {
    if (f.error) return 2;
    warning = warning || !f.note;
  }
  return strict && warning ? 1 : 0;
}

std::string CheckBeforePublishing(const std::string& dir, std::FILE* out) {
  const std::vector<Finding> findings = CheckDistribution(dir);
  std::fputs(FindingsText(findings).c_str(), out);
  return CheckExitStatus(findings, false) == 2 ? dir + " does not pass its check" : "";
}

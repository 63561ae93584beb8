#include "app/start_rules.h"

#include "env/paths.h"
#include "env/unicode.h"

bool IsSetupMode(const std::string& exeFileName) { return UpperCase(exeFileName) == "SETUP.EXE"; }

namespace {
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
}  // namespace

std::vector<std::string> CommandLineArguments(const std::string& commandLine) {
  size_t i = 0;
  const size_t n = commandLine.size();
  if (i < n && commandLine[i] == '"') {
    const size_t close = commandLine.find('"', 1);
    i = close == std::string::npos ? n : close + 1;
  } else {
    while (i < n && !IsBlank(commandLine[i])) ++i;
  }
  std::vector<std::string> arguments;
  for (;;) {
    while (i < n && IsBlank(commandLine[i])) ++i;
    if (i >= n) return arguments;
    std::string argument;
    bool quoted = false;
    for (; i < n; ++i) {
      const char c = commandLine[i];
      if (c == '\\') {
        size_t end = commandLine.find_first_not_of('\\', i);
        if (end == std::string::npos) end = n;
        const bool beforeQuote = end < n && commandLine[end] == '"';
        argument.append(beforeQuote ? (end - i) / 2 : end - i, '\\');
        if (beforeQuote && (end - i) % 2) {
          argument += '"';
          i = end;
        } else {
          i = end - 1;  // a quote after them is read next
        }
      } else if (c == '"') {
        if (quoted && i + 1 < n && commandLine[i + 1] == '"') {
          argument += '"';
          ++i;
        } else {
          quoted = !quoted;
        }
      } else if (!quoted && IsBlank(c)) {
        break;
      } else {
        argument += c;
      }
    }
    arguments.push_back(argument);
  }
}

StartRequest ParseStartRequest(const std::vector<std::string>& arguments, bool shiftDown, bool ctrlDown) {
  StartRequest request;
  const std::string first = arguments.empty() ? "" : LowerCase(arguments[0]);
  request.quiet = first == "/q";
  request.silent = request.quiet || first == "/s" || (shiftDown && ctrlDown);
  std::string* value = nullptr;  // the path the words without a switch belong to
  for (const std::string& argument : arguments) {
    const std::string lower = LowerCase(argument);
    if (lower.starts_with("/d=")) {
      value = &request.directory;
      *value = argument.substr(3);
    } else if (lower.starts_with("/log=")) {
      value = &request.logFile;
      *value = argument.substr(5);
    } else if (value && !argument.starts_with("/")) {
      value->append(" ").append(argument);
    } else {
      value = nullptr;
    }
  }
  return request;
}

uint32_t BlendColor(uint32_t from, uint32_t to, int step, int steps) {
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int a = static_cast<int>((from >> shift) & 0xFF), b = static_cast<int>((to >> shift) & 0xFF);
    const int blended = ((steps - step) * a + step * b) / steps;
    result |= (static_cast<uint32_t>(blended) & 0xFF) << shift;
  }
  return result;
}

std::string PreviousInstallDir(const std::string& uninstallString) {
  std::string command = uninstallString;
  if (command.size() >= 2 && command.front() == '"' && command.back() == '"')
    command = command.substr(1, command.size() - 2);
  std::string dir = ExtractFilePath(command);
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  return dir;
}

std::string MissingControlFileText(const std::string& controlFile, const std::string& appDir) {
  return "Datei " + controlFile + " nicht gefunden: " + appDir + controlFile;
}

namespace {
// Registry key names compare without regard to letter case; this folds the letters of the
// names programs are given (ASCII and the Latin-1 letters), enough that one program's runs
// agree on the lock whichever spelling its files use.
char16_t FoldCase(char16_t c) {
  if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<char16_t>(c + 32);
  return c;
}
}  // namespace

std::string RunLockName(const std::string& registrationKey) {
  std::string name = "Setup-";
  uint64_t hash = 14695981039346656037ull;  // FNV-1a over the folded UTF-16 units
  for (char16_t c : Utf16FromUtf8(registrationKey)) {
    c = FoldCase(c);
    hash = (hash ^ (c & 0xFF)) * 1099511628211ull;
    hash = (hash ^ (c >> 8)) * 1099511628211ull;
    // A readable part for whoever lists the system's objects; the hash tells names apart.
    const bool plain = (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'.' || c == u'-';
    if (name.size() < 70) name += plain ? static_cast<char>(c) : '_';
  }
  name += '-';
  for (int shift = 60; shift >= 0; shift -= 4) name += "0123456789abcdef"[(hash >> shift) & 0xF];
  return name;
}

std::string AlreadyRunningText(const std::string& programName) {
  return "Die Installation oder Deinstallation von " + programName +
         " läuft bereits. Bitte warten Sie, bis sie beendet ist, und starten Sie das Programm dann erneut.";
}

std::string BadRegistrationNameText(const std::string& name) {
  return "Setup.lst ist fehlerhaft: [StartMenu] Folder=" + name +
         " ist kein Name, unter dem Windows das Programm eintragen kann (ein Name ohne \"\\\", "
         "höchstens 255 Zeichen). Die Installation wird abgebrochen.";
}

std::string RecordFailedText(const std::string& path) {
  return "Die Protokolldatei " + path + " kann nicht angelegt werden. Es geht ohne Protokoll weiter.";
}

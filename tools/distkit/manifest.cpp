#include "manifest.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "env/paths.h"
#include "install/script_reader.h"
#include "env/unicode.h"

namespace fs = std::filesystem;

namespace {
constexpr char UninstallKey[] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// A YAML scalar in single quotes: nothing in it is taken for syntax.
std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

// One part of an identifier: no blank, dot or character that a path refuses, at most 32.
std::string IdentifierPart(const std::string& text) {
  std::string part;
  for (const char c : text)
    if (static_cast<unsigned char>(c) > 0x20 && std::string_view("\\/:*?\"<>|.").find(c) == std::string_view::npos)
      part += c;
  return part.substr(0, 32);
}

// The statuses other than 0, as winget should read them.
constexpr struct {
  int status;
  const char* response;
} ReturnCodes[] = {
    {1, "cancelledByUser"},            // ended by the user
    {2, "contactSupport"},             // the distribution lacks its Setup.lst; the one-file download is cut or damaged
    {3, "contactSupport"},             // a file could not be installed (missing, damaged); quiet: nothing changed
    {4, "contactSupport"},             // a failure ended the run
    {5, "invalidParameter"},           // the directory given cannot be made or written
    {6, "downgrade"},                  // a newer version is installed; nothing changed
    {7, "invalidParameter"},           // the directory holds another program's installation; nothing changed
    {9, "installInProgress"},          // another run for the same program is at work; nothing changed
    {3010, "rebootRequiredToFinish"},  // installed; a file in use is replaced at the next restart
};
}  // namespace

std::string ReadRegistration(const std::string& dir, Registration& registration) {
  fs::path script;
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec))
    if (LowerCase(entry.path().filename().string()) == "setup.lst") script = entry.path();
  if (script.empty()) return dir + " has no Setup.lst";
  std::ifstream in(script, std::ios::binary);
  const ScriptReader reader(DistributionText(std::string{std::istreambuf_iterator<char>(in), {}}));
  const auto value = [&](const char* section, const char* key, const char* fallback) {
    const auto entry = reader.Find(section, key);
    return entry ? entry->value : std::string(fallback);
  };
  const std::string group = value("Group", "Name", "Gruppex");
  if (group.empty()) return "\"Group\"/\"Name\" is empty: an installation registers nothing to detect";
  registration = {value("StartMenu", "Folder", "Unbenannt"), group + " deinstalieren", value("General", "Version", ""),
                  value("General", "Publisher", "")};
  if (registration.key.empty() || registration.key.find('\\') != std::string::npos)
    return "\"StartMenu\"/\"Folder\" is no key name: an installation registers nothing to detect";
  if (registration.version.empty()) return "\"General\"/\"Version\" is missing: a catalogue needs the version";
  return {};
}

std::string PackageIdentifier(const Registration& registration) {
  const std::string publisher = IdentifierPart(registration.publisher), name = IdentifierPart(registration.key);
  return publisher.empty() || name.empty() ? "" : publisher + "." + name;
}

std::string WingetManifest(const Registration& registration, const std::string& identifier, const std::string& url,
                           const std::string& sha256, bool oneFile) {
  std::string out = "PackageIdentifier: " + Quoted(identifier) + "\nPackageVersion: " + Quoted(registration.version) +
                    (oneFile ? "\nInstallerType: exe\n"
                             : "\nInstallerType: zip\nNestedInstallerType: exe\nNestedInstallerFiles:\n"
                               "  - RelativeFilePath: SETUP.EXE\n") +
                    "Scope: machine\nInstallModes:\n  - interactive\n  - silent\n"
                    "  - silentWithProgress\nInstallerSwitches:\n  Silent: /q\n  SilentWithProgress: /s\n"
                    "  InstallLocation: '/D=<INSTALLPATH>'\n  Log: '/LOG=<LOGPATH>'\n"
                    // Installed whole; only a shortcut is missing, which the record names.
                    "InstallerSuccessCodes:\n  - 8\nExpectedReturnCodes:\n";
  for (const auto& [status, response] : ReturnCodes)
    out += "  - InstallerReturnCode: " + std::to_string(status) + "\n    ReturnResponse: " + response + "\n";
  out +=
      "UpgradeBehavior: install\nAppsAndFeaturesEntries:\n  - DisplayName: " + Quoted(registration.displayName) + "\n";
  if (!registration.publisher.empty()) out += "    Publisher: " + Quoted(registration.publisher) + "\n";
  out += "    DisplayVersion: " + Quoted(registration.version) + "\n    ProductCode: " + Quoted(registration.key) +
         "\nInstallers:\n  - Architecture: x86\n    InstallerUrl: " + Quoted(url) + "\n    InstallerSha256: " + sha256 +
         "\nManifestType: installer\nManifestVersion: 1.6.0\n";
  return out;
}

std::string DetectionRule(const Registration& registration) {
  return std::string("# Detection rule (Intune, SCCM): the registry\n#   key:   ") + UninstallKey + registration.key +
         "\n#   value: DisplayVersion, a string equal to " + registration.version +
         "\n#   32-bit: yes (SETUP.EXE is a 32-bit program: on 64-bit Windows the key lies in the\n"
         "#           registry's 32-bit view, under SOFTWARE\\WOW6432Node)\n"
         "# Return codes (Intune): 0 success; 3010 soft reboot (installed, a file in use is replaced\n"
         "#           at the restart; among Intune's defaults); 6 failed (a newer version is installed,\n"
         "#           nothing changed); 7 failed (the directory holds another program, nothing\n"
         "#           changed); 1 to 5 failed; 8 success (installed, but a shortcut could not be\n"
         "#           made: the /LOG record names it); 9 retry (another installation or removal of\n"
         "#           the program is running, nothing changed)\n";
}

#include "install/wizard_texts.h"

#include <algorithm>
#include <vector>

#include "env/paths.h"
#include "env/version_name.h"

namespace {
constexpr char Paragraph[] = "\r\n\r\n";
}  // namespace

bool IsLimitedNtUser(const std::string& versionName, bool isAdministrator) {
  return IsAdviceVersion(versionName) && !isAdministrator;
}

std::string AdministratorAdviceText(const std::string& programName, const std::string& versionName,
                                    const std::string& defaultPath) {
  return Concat({"Das Setup-Programm hat festgestellt, dass Sie ",
                 programName,
                 " auf ein Betriebsystem (",
                 versionName,
                 ") installieren ",
                 "möchten, welches über eine Benutzerverwaltung verfügt, ",
                 "jedoch besitzen Sie unter dem aktuell verwendeten Benutzerkonto ",
                 "keine Administratorenrechte.",
                 Paragraph,
                 "Dies kann evtl. dazu führen, dass sich das Programm nicht ",
                 "in das standardmäßig vorgeschlagene Verzeichnis (",
                 defaultPath,
                 ") installieren lässt ",
                 "(bitte versuchen Sie es aber zunächst).",
                 Paragraph,
                 "In diesem Falle können Sie das Programm in ein Verzeichnis ",
                 "installieren, für das Sie über entsprechende Schreibrechte verfügen, z.B. ",
                 "\"Dokumente und Einstellungen\". Bei Windows XP HOME ist dies die ",
                 "einzige Möglichkeit, wenn Sie das Programm für einen Anwender mit ",
                 "eingeschränkten Benutzerrechten installieren wollen.",
                 Paragraph,
                 "Unter Windows NT, Windows 2000 und Windows XP Professional können Sie sich aber auch ",
                 "als Administrator anmelden, das Programm installieren und dem betreffenden Benutzer ",
                 "für das Installationsverzeichnis Lese- und Schreibrechte verleihen."});
}

std::string ReplaceProgPlaceholder(const std::string& text, const std::string& programName) {
  constexpr std::string_view placeholder = "<Prog>";
  const size_t at = text.find(placeholder);
  if (at == std::string::npos) return text;
  const std::string_view whole = text;
  return Concat({whole.substr(0, at), programName, whole.substr(at + placeholder.size(), 255)});
}

bool IsMainDirectory(const std::string& path) { return path.size() <= 3; }

bool IsFullDirectoryPath(const std::string& path) {
  return !IsMainDirectory(path) && ((path[1] == ':' && path[2] == '\\') || path.starts_with("\\\\")) &&
         path.find_first_of("*?/\"<>|") == std::string::npos;
}

std::string CanonicalDirectory(const std::string& path) {
  size_t rootEnd = 0;  // the drive "X:\" or the share "\\server\share\"
  if (path.size() >= 3 && path[1] == ':' && path[2] == '\\') {
    rootEnd = 3;
  } else if (path.starts_with("\\\\")) {
    const size_t server = path.find('\\', 2),
                 share = server == std::string::npos ? server : path.find('\\', server + 1);
    if (share == std::string::npos) return path;
    rootEnd = share + 1;
  } else {
    return path;
  }
  std::vector<std::string> folders;
  for (size_t at = rootEnd; at <= path.size();) {
    const size_t end = std::min(path.find('\\', at), path.size());
    const std::string folder = path.substr(at, end - at);
    at = end + 1;
    if (folder.empty() || folder == ".") continue;
    if (folder != "..") {
      folders.push_back(folder);
    } else if (folders.empty()) {
      return {};
    } else {
      folders.pop_back();
    }
  }
  std::string canonical = path.substr(0, rootEnd);
  for (size_t k = 0; k < folders.size(); ++k) {
    std::string folder = folders[k];
    const size_t kept = folder.find_last_not_of(". ");
    if (k + 1 == folders.size()) folder.erase(kept == std::string::npos ? 0 : kept + 1);
    if (folder.empty() || folder.back() == '.' || folder.back() == ' ') return {};
    canonical += (k ? "\\" : "") + folder;
  }
  return canonical;
}

std::string MainDirectoryText() {
  return "Das Programm kann nicht in einem Hauptverzeichnis installiert werden. Geben Sie bitte "
         "einen Namen für ein Unterverzeichnis an!";
}

std::string CreateDirectoryQuestion() { return Concat({"Verzeichnis existiert nicht!", Paragraph, "Erstellen?"}); }

std::string DirectoryWarningText(const std::string& path, bool limitedNtUser) {
  return Concat({"Konnte Verzeichnis \"", path, "\" nicht erstellen oder in das Verzeichnis kann nicht kopiert werden!",
                 Paragraph, "Entweder ist das Laufwerkt nicht schreibbereit oder ",
                 "es fehlt eine Schreibberechtigung für dieses Laufwerk bzw. ", "für dieses Verzeichnis.", Paragraph,
                 "Bitte installieren Sie das Programm in ein Verzeichnis, für ",
                 "das Sie Schreib- und Leserechte besitzen (das Setup-Programm schlägt ",
                 "nun einmalig ein anderes Verzeichnis vor).", limitedNtUser ? Paragraph : "",
                 limitedNtUser ? "Oder Sie melden sich als Administrator an, um das Programm "
                                 "zu installieren bzw. Sie bitten den Administrator, Ihnen entsprechende "
                                 "Berechtigungen zur Installation des Programmes einzuräumen."
                               : ""});
}

std::string ProfileProposal(const std::string& profilesDir, const std::string& logonName, const std::string& path) {
  return Concat({IncludeBackslash(profilesDir), logonName, "\\", ExtractFileName(path)});
}

std::string OtherProgramText(const std::string& path, const std::string& otherProgram) {
  return Concat({"Im Verzeichnis ", path, " ist bereits das Programm ", otherProgram, " installiert.", Paragraph,
                 "Zwei Programme in einem Verzeichnis würden sich bei der Deinstallation gegenseitig ",
                 "Dateien löschen. Bitte wählen Sie ein anderes Verzeichnis."});
}

std::string OpenDirectoryText(const std::string& path) {
  return Concat({"Jeder Benutzer dieses Computers kann die Dateien im Verzeichnis ", path, " ändern.", Paragraph,
                 "Wer dort eine Datei austauscht, lässt sie mit Administratorrechten ausführen, sobald ein ",
                 "Administrator das Programm startet oder deinstalliert. Ein neues Verzeichnis legt Setup ",
                 "so an, dass nur Administratoren es ändern können.", Paragraph,
                 "Soll das Programm trotzdem in dieses Verzeichnis installiert werden?"});
}

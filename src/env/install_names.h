// What an installation leaves on the machine under fixed names, for the next installation
// and for the uninstaller to find again.
#pragma once
#include <string>

// Every program's uninstall registration lies below this key of HKEY_LOCAL_MACHINE, under
// the name of its start menu folder.
inline constexpr char UninstallKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
std::string UninstallKeyOf(const std::string& name);

// The setup script's section of checksums: each file of the distribution as it lies there
// (compressed or not, the texts and SETUP.EXE included) to the SHA-256 of its bytes, in hex.
// The toolkit writes it; installers before it pass over it.
inline constexpr char ChecksumSection[] = "SHA256";

// The install log in the installation directory: looked for and named in messages under
// this name; the installation creates it upper-case.
inline constexpr char InstallLogName[] = "install1.log";
// Its sections.
inline constexpr char LogGeneral[] = "General", LogInstalledFiles[] = "InstalledFiles", LogGroup[] = "Group",
                      LogStartMenu[] = "StartMenu", LogUserProfile[] = "BenutzerKonto";
// The folders the installation made above its directory, "Folder1" the outermost: a section
// that uninstallers before it pass over.
inline constexpr char LogCreatedFolders[] = "CreatedFolders";
// Each installed file as the installation left it, "File<n>=size,sha256" by the number of its
// entry: so that the next version can tell a file the user changed. Uninstallers pass over it.
inline constexpr char LogFileStates[] = "FileStates";
// Where each file came from, "File<n>=found", "shared" or both, by the number of its entry
// (removal_rules.h); a file without an entry was made by the installation.
inline constexpr char LogFileOrigins[] = "FileOrigins";
// Every shortcut the installation made, "Link<n>=path", logged before it is made, so that
// the removal takes these and no other program's from a folder they share.
inline constexpr char LogShortcuts[] = "Shortcuts";

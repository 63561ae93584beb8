// What a catalogue (winget) and a deployment tool (Intune, SCCM) must know of a distribution:
// the switches, the exit statuses, and the registration an installation writes, all read from
// the distribution itself so that nobody types them by hand.
#pragma once
#include <string>

// The uninstall registration an installation from the distribution writes.
struct Registration {
  std::string key;          // its key name under ...\Uninstall: "StartMenu"/"Folder"
  std::string displayName;  // "Group"/"Name" and " deinstalieren"
  std::string version;      // "General"/"Version"
  std::string publisher;    // "General"/"Publisher"
};

// Reads the registration from dir's Setup.lst; the reason when a manifest cannot be made.
std::string ReadRegistration(const std::string& dir, Registration& registration);
// "Publisher.Key" with what winget refuses in an identifier left out; empty when a part is.
std::string PackageIdentifier(const Registration& registration);
// The installer manifest (winget schema 1.6.0) for the distribution packed as one zip archive,
// or bundled as one program (oneFile).
std::string WingetManifest(const Registration& registration, const std::string& identifier, const std::string& url,
                           const std::string& sha256, bool oneFile = false);
// The registry detection rule, as YAML comments so that the output stays one valid file.
std::string DetectionRule(const Registration& registration);

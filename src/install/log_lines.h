// The install log's sections as the installer and the uninstaller read them, from the lines
// the profile functions give: free of Win32, so that any bytes a user may put in a log can be
// tried on them.
#pragma once
#include <string>
#include <string_view>
#include <vector>

// A file of a log read (or a run's own): its path, its state ("size,sha256") and its origin.
struct LoggedFile {
  std::string path, state, origin;
  unsigned long number = 0;  // of its entry in the log read; 0 for one not yet logged
};

struct NumberedEntry {
  unsigned long number;
  std::string value;
};
// The number of a "File<n>" key (letter case aside); 0 for any other key.
unsigned long FileNumber(std::string_view key);
// The "File<n>" entries of a section's "key=value" lines, in numeric order (equal numbers in
// file order).
std::vector<NumberedEntry> NumberedEntries(const std::vector<std::string>& lines);
// Each "File<n>" entry of the installed files with the state and origin of the same number.
std::vector<LoggedFile> JoinLoggedFiles(const std::vector<std::string>& installed,
                                        const std::vector<std::string>& states,
                                        const std::vector<std::string>& origins);
// The lines of a log's text outside the sections the installation writes itself (the user
// profile chosen for the shortcuts, the sections of later versions), ending in a line break.
std::string OtherSections(const std::string& text);

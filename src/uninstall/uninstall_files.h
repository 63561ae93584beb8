// The file-system side of the removal: listing what a directory holds, the temporary name
// the batch file is derived from.
#pragma once
#include <string>
#include <vector>

// Appends the full path of every entry matching mask ("dir\*.*") whose name does not start
// with "."; with subdirectories, then each visible subfolder's entries, depth first. Hidden
// and system folders and links to folders are listed but not entered.
void ListTree(const std::string& mask, bool withSubdirectories, std::vector<std::string>& list);
// Whether dir holds no file but those named (full paths, letter case aside), in itself or
// in any folder below; a hidden or system folder or a link counts as holding something.
bool HoldsOnly(const std::string& dir, const std::vector<std::string>& files);
// A new empty file "$....tmp" in the user's temporary folder; its full path.
std::string MakeTempFileName();

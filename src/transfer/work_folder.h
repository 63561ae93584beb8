// The run's own folders in the installation directory ("~wk", hex digits, ".tmp"): one where
// the files not yet whole are written, one where a quiet run keeps the earlier files it
// replaces. Wine answers each new name by reading the whole folder it is made in: the
// installation directory fills with the program's files, and an upgrade keeps as many aside,
// while the folder of the new files holds one at a time.
#pragma once
#include <string>

enum class WorkKind { Scratch, Kept };

// The folder, with its backslash, made at the first call for InstallDir; empty when it cannot
// be made (the caller works in the installation directory then).
const std::string& WorkFolder(WorkKind kind);
// Takes both folders away when they are empty; with atRestart, at the next restart when
// something in them waits for that. Safe to call again.
void RemoveWorkFolders(bool atRestart = false);
// Whether a folder name is one WorkFolder makes.
bool IsWorkFolderName(const std::string& name);
// After file went: the work folder it lay in (one an earlier run left) goes too when empty.
void RemoveEmptyWorkFolderOf(const std::string& file);
// What a run that was killed left of the files it had not finished: the "cpy", "exp" and "log"
// files (as the system names temporary files: three letters, up to four hex digits, ".tmp")
// in installDir and in its work folders, which go with them when nothing else is in them (a
// kept copy stays for the log that names it).
void RemoveLeftWorkFiles(const std::string& installDir);
// A fresh name in dir ("prefix", hex digits, ".tmp"), different at each call: dir is ours, so
// the caller only has to try the next one when it is taken.
std::string TemporaryName(const std::string& dir, const char* prefix);
// Whether a file or folder name is one TemporaryName makes with prefix (letter case aside).
bool IsTemporaryName(const std::string& name, const char* prefix);

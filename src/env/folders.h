// Around the copying: can a directory be written, who is logged on, which profiles can
// receive a shortcut.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// The path of a shell folder (CSIDL_PROGRAMS, CSIDL_DESKTOP ...); empty when the shell has
// none.
std::string SpecialFolder(HWND owner, int folder);

// The program files folder ("ProgramFilesDir": on 64-bit Windows the one for 32-bit programs).
std::string ProgramFilesDir();
// Whether dir lies below a program files folder, that of 32-bit or of 64-bit programs, whose
// protection its folders inherit.
bool InProgramFilesFolder(const std::string& dir);

// True when a new file can be created in dir. The probe uses a name that does not exist yet
// and removes only the file it created itself, so nothing of the user's is ever touched.
bool CanWriteToDir(const std::string& dir);
// The current user's logon name, or "All Users" when the system gives none.
std::string GetLogonUserName();
// The computer's name, or an empty text.
std::string GetComputerNameStr();
// Appends the names of the profile folders that have a "Desktop" folder, a plain name
// dropped when a suffixed twin (name.suffix) exists, then the current user when missing.
void ListProfileUsers(std::vector<std::string>& list);
// The same for a given profiles root, user and computer name.
void ListProfileUsersIn(const std::string& root, const std::string& user, const std::string& computer,
                        std::vector<std::string>& list);

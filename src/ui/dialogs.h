// Message boxes: plain messages, and typed dialogs with German captions and buttons.
#pragma once
#include <windows.h>

#include <string>

#include "forms/form_desc.h"

// A plain message: title "Setup", one OK button. Noted in the run record; in quiet mode
// only noted.
void ShowMessage(const std::string& text);

enum class DlgType { Warning, Error, Information, Confirmation };
enum DlgButtons : unsigned { mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8 };

// The typed dialog's controls (its class name is "TMessageForm").
namespace MessageForm {
inline constexpr char Image[] = "Image", Message[] = "Message", Yes[] = "Yes", No[] = "No", OK[] = "OK",
                      Cancel[] = "Cancel";
}  // namespace MessageForm

// A typed dialog: caption "Warnung", "Fehler", "Information" or "Bestätigen" with its icon,
// buttons "&Ja", "&Nein", "OK", "Abbrechen" whatever the system's language. Returns the
// pressed button's result; closing it through the title bar gives mrCancel.
ModalResult MessageDlg(const std::string& text, DlgType type, unsigned buttons);
// The size of the typed dialog's text at the given pixels per inch, wrapped at half the
// screen's width, with room for the last letter of a line.
SIZE MessageTextSize(const std::string& text, int ppi);
// Every question of a run goes through here: a person answers it in the typed dialog, or in
// quiet mode it takes quietAnswer (the answer that changes least) without any window. Either
// way the run record notes the question, the answer and who gave it.
ModalResult Ask(const std::string& text, DlgType type, unsigned buttons, ModalResult quietAnswer);

// The shell's folder browser, owned by owner, rooted at the desktop, file-system folders only.
// True with the chosen folder's full path in path; false (path unchanged) on cancel.
bool BrowseForFolder(HWND owner, const std::string& title, std::string& path);

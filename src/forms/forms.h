// The descriptions of all windows, one per form class, and the names of the controls that
// code reaches, so that a misspelt name does not compile.
#pragma once
#include "forms/form_desc.h"

extern const FormDesc SetupFormDesc;  // Tf_Setup, the start window
extern const char UninstallSteps[];   // its step tree as the uninstaller's
namespace SetupForm {
inline constexpr char AutoTimer[] = "AutoTimer", SetupType[] = "SetupType", Timer1[] = "Timer1",
                      TreeView1[] = "TreeView1", lbProgName[] = "lbProgName", pnBanner[] = "pnBanner";
}  // namespace SetupForm
extern const FormDesc AktionFormDesc;  // Tf_Aktion, the install wizard
namespace AktionForm {
inline constexpr char nb1[] = "nb1", Label4[] = "Label4", Memo1[] = "Memo1", Panel4[] = "Panel4", bnBack[] = "bnBack",
                      bnDir[] = "bnDir", bnEnd[] = "bnEnd", bnInfo[] = "bnInfo", bnInstal[] = "bnInstal",
                      bnNein[] = "bnNein", bnja[] = "bnja", cbMakePath[] = "cbMakePath", edPathName[] = "edPathName",
                      pnFrom[] = "pnFrom", pnTo[] = "pnTo", Gauge1[] = "Gauge1";
}  // namespace AktionForm
extern const FormDesc UninstalFormDesc;  // Tf_Uninstal, the uninstall window
namespace UninstalForm {
inline constexpr char Button1[] = "Button1", Button2[] = "Button2", lbInfo[] = "lbInfo";
}  // namespace UninstalForm
extern const FormDesc InfoFormDesc;  // Tf_info, the readme viewer
namespace InfoForm {
inline constexpr char Memo1[] = "Memo1", bnGoOn[] = "bnGoOn";
}  // namespace InfoForm
extern const FormDesc MoreFormDesc;  // Tf_more, the shortcut options
namespace MoreForm {
inline constexpr char cbDesktop[] = "cbDesktop", cbStartmenu[] = "cbStartmenu", BitBtn1[] = "BitBtn1";
}  // namespace MoreForm
extern const FormDesc ProgressFormDesc;  // Tf_Progress, the copy progress window
namespace ProgressForm {
inline constexpr char Label2[] = "Label2", pnFrom[] = "pnFrom", pnTo[] = "pnTo", Gauge1[] = "Gauge1", bnEsc[] = "bnEsc";
}  // namespace ProgressForm
extern const FormDesc GroupFormDesc;  // Tf_Group, the choice of user for the program group
namespace GroupForm {
inline constexpr char cbUsers[] = "cbUsers", BitBtn1[] = "BitBtn1";
}  // namespace GroupForm
extern const FormDesc AskFormDesc;  // Tf_Ask, the question before the directory is deleted
namespace AskForm {
inline constexpr char lbInfo[] = "lbInfo", lbFiles[] = "lbFiles", Button1[] = "Button1", Button2[] = "Button2";
}  // namespace AskForm

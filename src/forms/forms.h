// The descriptions of all windows, one per form class.
#pragma once
#include "forms/form_desc.h"

extern const FormDesc SetupFormDesc;      // Tf_Setup, the start window
extern const FormDesc AktionFormDesc;     // Tf_Aktion, the install wizard
extern const FormDesc UninstalFormDesc;   // Tf_Uninstal, the uninstall window
extern const FormDesc InfoFormDesc;       // Tf_info, the readme viewer
extern const FormDesc MoreFormDesc;       // Tf_more, the shortcut options
extern const FormDesc ProgressFormDesc;   // Tf_Progress, the copy progress window
extern const FormDesc GroupFormDesc;      // Tf_Group, the choice of user for the program group
extern const FormDesc AskFormDesc;        // Tf_Ask, the question before the directory is deleted

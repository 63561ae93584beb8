#include "env/shell_link.h"

#include <windows.h>
#include <shlobj.h>

#include "env/handles.h"

namespace {
// The component library for this thread, for the length of one call.
class ComLibrary {
 public:
  ComLibrary() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComLibrary() {
    if (initialised_) CoUninitialize();
  }
  ComLibrary(const ComLibrary&) = delete;
  ComLibrary& operator=(const ComLibrary&) = delete;

 private:
  bool initialised_;
};

bool SetLinkFields(IShellLinkA& link, const std::string& target, const std::string& description,
                   const std::string& workingDir, int showCmd) {
  return SUCCEEDED(link.SetPath(target.c_str())) &&
         SUCCEEDED(link.SetDescription(description.c_str())) &&
         SUCCEEDED(link.SetShowCmd(showCmd)) &&
         SUCCEEDED(link.SetWorkingDirectory(workingDir.c_str()));
}

void SaveLink(IPersistFile& file, const std::string& linkFile) {
  WCHAR wideName[MAX_PATH] = {};
  if (!MultiByteToWideChar(CP_ACP, 0, linkFile.c_str(), -1, wideName, MAX_PATH)) return;
  if (SUCCEEDED(file.Save(wideName, TRUE))) file.SaveCompleted(wideName);
}
}  // namespace

void CreateShellLink(const std::string& target, const std::string& description,
                     const std::string& linkFile, const std::string& workingDir, int showCmd) {
  ComLibrary library;
  void* object = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              &object)))
    return;
  ComPtr<IShellLinkA> link(static_cast<IShellLinkA*>(object));
  object = nullptr;
  if (FAILED(link.Get()->QueryInterface(IID_IPersistFile, &object))) return;
  ComPtr<IPersistFile> file(static_cast<IPersistFile*>(object));
  if (SetLinkFields(*link.Get(), target, description, workingDir, showCmd))
    SaveLink(*file.Get(), linkFile);
}

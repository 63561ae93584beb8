#include "env/shell_link.h"

#include <windows.h>
#include <shlobj.h>

#include "env/handles.h"
#include "env/system_library.h"

namespace {
// The component library for this thread, for the length of one call; loaded by its full path
// (see system_library.h).
class ComLibrary {
 public:
  ComLibrary()
      : create_(SystemFunction<Create>("ole32.dll", "CoCreateInstance")),
        uninitialize_(SystemFunction<Uninitialize>("ole32.dll", "CoUninitialize")) {
    auto initialize = SystemFunction<Initialize>("ole32.dll", "CoInitialize");
    initialised_ = initialize && uninitialize_ && SUCCEEDED(initialize(nullptr));
  }
  ~ComLibrary() {
    if (initialised_) uninitialize_();
  }
  ComLibrary(const ComLibrary&) = delete;
  ComLibrary& operator=(const ComLibrary&) = delete;
  // A new object of the class, asked for one interface; null when there is none.
  void* CreateInstance(REFCLSID classId, REFIID interfaceId) const {
    void* object = nullptr;
    if (!create_ || FAILED(create_(classId, nullptr, CLSCTX_INPROC_SERVER, interfaceId, &object))) return nullptr;
    return object;
  }

 private:
  using Initialize = HRESULT(WINAPI*)(LPVOID);
  using Uninitialize = void(WINAPI*)();
  using Create = HRESULT(WINAPI*)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
  Create create_;
  Uninitialize uninitialize_;
  bool initialised_ = false;
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
  void* object = library.CreateInstance(CLSID_ShellLink, IID_IShellLinkA);
  if (!object) return;
  ComPtr<IShellLinkA> link(static_cast<IShellLinkA*>(object));
  object = nullptr;
  if (FAILED(link.Get()->QueryInterface(IID_IPersistFile, &object))) return;
  ComPtr<IPersistFile> file(static_cast<IPersistFile*>(object));
  if (SetLinkFields(*link.Get(), target, description, workingDir, showCmd))
    SaveLink(*file.Get(), linkFile);
}

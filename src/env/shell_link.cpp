#include "env/shell_link.h"

#include <windows.h>
#include <shlobj.h>

#include "env/handles.h"
#include "env/system_library.h"
#include "env/system_names.h"

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

// The fields in the link's own letters: wide on the NT family, the system's code page on the
// 95 family (whose link object has no wide interface).
bool SetLinkFields(IShellLinkW& link, const std::string& target, const std::string& description,
                   const std::string& workingDir, int showCmd) {
  return SUCCEEDED(link.SetPath(Wide(target).c_str())) && SUCCEEDED(link.SetDescription(Wide(description).c_str())) &&
         SUCCEEDED(link.SetShowCmd(showCmd)) && SUCCEEDED(link.SetWorkingDirectory(Wide(workingDir).c_str()));
}

bool SetLinkFields(IShellLinkA& link, const std::string& target, const std::string& description,
                   const std::string& workingDir, int showCmd) {
  const SystemName path(target), text(description), dir(workingDir);
  return path.whole && text.whole && dir.whole && SUCCEEDED(link.SetPath(path.ansi.c_str())) &&
         SUCCEEDED(link.SetDescription(text.ansi.c_str())) && SUCCEEDED(link.SetShowCmd(showCmd)) &&
         SUCCEEDED(link.SetWorkingDirectory(dir.ansi.c_str()));
}

bool SaveLink(IPersistFile& file, const std::string& linkFile) {
  std::string ansi;
  if (!WideSystem() && !ToSystemCodePage(linkFile, ansi)) return false;  // the 95 family could not open it again
  const std::wstring wideName = Wide(linkFile);
  if (FAILED(file.Save(wideName.c_str(), TRUE))) return false;
  file.SaveCompleted(wideName.c_str());
  return true;
}

template <typename Link>
bool MakeLink(const ComLibrary& library, REFIID linkInterface, const std::string& target,
              const std::string& description, const std::string& linkFile, const std::string& workingDir, int showCmd) {
  void* object = library.CreateInstance(CLSID_ShellLink, linkInterface);
  if (!object) return false;
  ComPtr<Link> link(static_cast<Link*>(object));
  object = nullptr;
  if (FAILED(link.Get()->QueryInterface(IID_IPersistFile, &object))) return false;
  ComPtr<IPersistFile> file(static_cast<IPersistFile*>(object));
  return SetLinkFields(*link.Get(), target, description, workingDir, showCmd) && SaveLink(*file.Get(), linkFile);
}
}  // namespace

bool CreateShellLink(const std::string& target, const std::string& description, const std::string& linkFile,
                     const std::string& workingDir, int showCmd) {
  ComLibrary library;
  if (WideSystem())
    return MakeLink<IShellLinkW>(library, IID_IShellLinkW, target, description, linkFile, workingDir, showCmd);
  return MakeLink<IShellLinkA>(library, IID_IShellLinkA, target, description, linkFile, workingDir, showCmd);
}

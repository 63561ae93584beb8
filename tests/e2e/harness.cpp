#include "env/system_names.h"
#include "tests/e2e/harness.h"

#include <shlobj.h>

#include "bundle.h"
#include "codec/name_mapping.h"
#include "codec/sha256.h"
#include "commands.h"
#include "env/deletion.h"
#include "env/file_system.h"
#include "env/folders.h"
#include "env/ini_file.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "tests/win/win_test_util.h"

Distribution::Distribution(const std::string& name, const std::string& parent) : dir_(parent + name + "\\") {
  DeleteTree(dir_);
  ForceDirectories(dir_);
}

void Distribution::CopyFrom(const Distribution& other) const {
  for (const std::string& name : Entries(other.Dir() + "*")) CopyFileNamed(other.Dir() + name, dir_ + name, false);
}

void Distribution::AddSetupExe(const std::string& fileName) const {
  CopyFileNamed((GetExeDirectory() + "SETUP.EXE"), (dir_ + fileName), FALSE);
}

void Distribution::AddExample(const std::string& name) const {
  CopyFileNamed((std::string(E2E_EXAMPLES_DIR) + "\\" + name), (dir_ + name), FALSE);
}

void Distribution::AddFile(const std::string& name, const std::string& content) const { MakeFile(dir_ + name, content); }

void Distribution::AddCompressed(const std::string& name, const std::string& content) const {
  const std::string plain = dir_ + MapCompressedName(name);
  AddFile(MapCompressedName(name), content);
  CompressCommand(plain, "");
  DeleteFileNamed(plain);
}

void Distribution::AddProgram(const std::string& script) const {
  AddSetupExe();
  AddExample("Liesmich.txt");
  AddExample("Vertrag.Txt");
  AddFile("Setup.lst", script);
}

Program Distribution::Start(const std::string& fileName, const std::string& arguments) const {
  return StartProgram(dir_ + fileName, arguments);
}

void SaveScreenshot(const Screenshot& shot, const std::string& name) {
  CreateDirectoryNamed(E2E_SCREENSHOT_DIR);
  shot.SaveBmp(std::string(E2E_SCREENSHOT_DIR) + "\\" + name + ".bmp");
}

std::string ExampleContent(const std::string& installedName, int lines) {
  const std::string name = LowerCase(installedName);
  if (name == "adressen.exe" || name == "adrhelp.dll") return FileText(GetExeDirectory() + UpperCase(name));
  if (name == "adressen.hlp" || name == "beispiel.hdb")
    return FileText(std::string(E2E_EXAMPLES_DIR) + "\\" + (name == "adressen.hlp" ? "ADRESSEN.HLP" : name));
  // Numbers that vary, so that the text compresses and expands at a measurable pace.
  std::string text;
  unsigned seed = 7;
  for (const char c : name) seed = seed * 31 + static_cast<unsigned char>(c);
  for (int i = 0; i < lines; ++i) {
    seed = seed * 1103515245 + 12345;
    text += installedName + " Zeile " + std::to_string(i) + " " + std::to_string(seed >> 8) + "\r\n";
  }
  return text;
}

void AddChecksums(const Distribution& dist) {
  std::string section = "[SHA256]\r\n";
  for (const std::string& name : Entries(dist.Dir() + "*"))
    if (FileExists(dist.Dir() + name) && LowerCase(name) != "setup.lst")
      section += name + "=" + Sha256Of(FileText(dist.Dir() + name)) + "\r\n";
  dist.AddFile("Setup.lst", FileText(dist.Dir() + "Setup.lst") + section);
}

std::string MakeBundle(const std::string& name, Distribution& download) {
  Distribution dist = ExampleDistribution(name + "_source");
  AddChecksums(dist);
  const std::string bundle = download.Dir() + "Adressen-1.0-Setup.exe";
  EXPECT_EQ(BundleDistribution(dist.Dir(), bundle, {}), "");
  return bundle;
}

Distribution ExampleDistribution(const std::string& name, unsigned files) {
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
  Distribution dist(name);
  dist.AddSetupExe();
  dist.AddExample("Setup.lst");
  if (files & WithReadme) dist.AddExample("Liesmich.txt");
  if (files & WithLicence) dist.AddExample("Vertrag.Txt");
  if (files & WithProgramFiles)
    for (const char* file : {"ADRESSEN.EX_", "ADRESSEN.HL_", "beispiel.hd_", "ADRHELP.DL_"})
      dist.AddCompressed(file, ExampleContent(MapCompressedName(file)));
  return dist;
}

Steps operator+(Steps first, const Steps& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

std::string Shown(HWND window) {
  const std::string name = ControlName(window);
  if (name == "Tf_Aktion") {
    for (const char* page : {"Welcome", "Info", "BGB", "Path", "CopyInfo"})
      if (IsWindowVisible(FindControl(window, page))) return page;
    return "";
  }
  if (name == "TMessageForm") return WindowText(FindControl(window, MessageForm::Message));
  if (WindowClass(window) == "#32770") return MessageBoxText(window);
  return WindowText(window);
}

namespace {
std::string OnScreen(DWORD pid) {
  std::string shown;
  for (HWND w : TopWindows(pid)) shown += " [" + (ControlName(w).empty() ? WindowClass(w) : ControlName(w)) + ": " + Shown(w) + "]";
  return shown;
}
}  // namespace

DWORD Perform(const Program& program, const Steps& steps, bool untilExit) {
  for (const Step& step : steps) {
    HWND window = nullptr;
    WaitUntil(
        [&] {
          for (HWND w : TopWindows(program.pid))
            if ((ControlName(w) == step.window || WindowClass(w) == step.window) && Shown(w).find(step.shows) != std::string::npos)
              window = w;
          return window != nullptr;
        },
        60000);  // a bound against a hang: the uninstaller's file loop alone takes its time
    if (!window) {
      ADD_FAILURE() << "no " << step.window << " showing \"" << step.shows << "\"; on the screen:" << OnScreen(program.pid);
      return 99;
    }
    if (step.act) step.act(window);
    if (step.press.empty()) continue;
    if (WindowClass(window) == "#32770") {
      PressDialogButton(window, step.press);
    } else {
      HWND button = FindControl(window, step.press);
      EXPECT_TRUE(button) << step.window << " has no " << step.press;
      WaitUntil([&] { return IsWindowVisible(button) && IsWindowEnabled(button); }, 5000);
      Press(button);
      // The wizard and the uninstall window stay; everything else goes with its answer.
      if (step.window == "Tf_Aktion" || step.window == "Tf_Uninstal") continue;
    }
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); })) << step.window << " stayed after " << step.press;
  }
  DWORD code = untilExit ? 99 : 0;
  EXPECT_TRUE(!untilExit || WaitForExit(program, 20000, code)) << "still running; on the screen:" << OnScreen(program.pid);
  return code;
}

Steps WalkWizard(const std::string& target) {
  using namespace AktionForm;
  return {{"Tf_Aktion", bnInstal, "Welcome"},
          {"Tf_Aktion", bnInstal, "Info"},
          {"Tf_Aktion", bnja, "BGB"},
          {"Tf_Aktion", bnInstal, "Path", [target](HWND w) { SetText(FindControl(w, edPathName), target); }}};
}

Steps FinishSteps(bool start, std::function<void(HWND)> group, std::function<void(HWND)> options) {
  return {{"Tf_Group", GroupForm::BitBtn1, "", group},
          {"Tf_more", MoreForm::BitBtn1, "", options},
          {"TMessageForm", start ? "Yes" : "No", "ordnungsgem"}};
}

void ExpectLink(const std::string& linkFile, const std::string& target, const std::string& workingDir) {
  SCOPED_TRACE(linkFile);
  ASSERT_TRUE(FileExists(linkFile));
  const ShellLinkFields fields = ReadShellLink(linkFile);
  const std::string name = ExtractFileName(linkFile);
  EXPECT_EQ(LowerCase(fields.path), LowerCase(target));
  EXPECT_EQ(fields.description, name.substr(0, name.find('.')));
  EXPECT_EQ(fields.workingDir, workingDir);
  EXPECT_EQ(fields.showCmd, SW_SHOW);  // as the installer writes it
}

HWND StartWindow(DWORD pid) {
  HWND found = nullptr;
  WaitUntil([&] {
    for (HWND w : TopWindows(pid, true))
      if (ControlName(w) == "Tf_Setup") found = w;
    return found != nullptr;
  });
  return found;
}

std::string HighlightedStep(DWORD pid) {
  HWND tree = FindControl(StartWindow(pid), SetupForm::TreeView1);
  const std::vector<std::string> nodes = TreeNodes(tree, pid);
  const int selected = TreeSelection(tree);
  return selected >= 0 && selected < static_cast<int>(nodes.size()) ? nodes[selected] : "";
}

void SetText(HWND control, const std::string& text) { SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str())); }

std::vector<std::string> ListBoxLines(HWND list) {
  std::vector<std::string> lines;
  for (LRESULT i = 0, count = SendMessageW(list, LB_GETCOUNT, 0, 0); i < count; ++i) {
    std::wstring wide(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
    wide.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()))));
    lines.push_back(LowerCase(FromWide(wide.data(), wide.size())));
  }
  return lines;
}

void Tick(HWND box, bool ticked) { SendMessageA(box, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0); }

void Shoot(HWND window, const std::string& name) {
  Sleep(300);
  SaveScreenshot(CaptureWindow(window), name);
}

namespace {
void AddTree(const std::string& dir, std::map<std::string, unsigned long long>& tree) {
  for (const FoundFile& found : FindFiles(dir + "\\*")) {
    const std::string& name = found.name;
    if (name == "." || name == "..") continue;
    const std::string path = LowerCase(dir + "\\" + name);
    if (path == "c:\\e2e" || path == "c:\\wintest" || path == "c:\\bench") continue;
    const bool folder = found.attributes & FILE_ATTRIBUTE_DIRECTORY;
    tree[path] = folder ? 0 : found.size;
    if (folder && !(found.attributes & FILE_ATTRIBUTE_REPARSE_POINT)) AddTree(dir + "\\" + name, tree);
  }
}

void AddKeys(const std::string& path, std::set<std::string>& keys) {
  RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, path, false);
  if (!key) return;
  keys.insert(path);
  wchar_t name[256];
  std::vector<std::string> subkeys;
  for (DWORD i = 0;; ++i) {
    DWORD size = 256;
    if (RegEnumValueW(key.Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    keys.insert(path + " = " + FromWide(name) + ": " + ReadRegistryString(key, FromWide(name)));
  }
  for (std::string sub; !(sub = RegistrySubkeyName(key, static_cast<DWORD>(subkeys.size()))).empty();) subkeys.push_back(sub);
  for (const std::string& sub : subkeys) AddKeys(path + "\\" + sub, keys);
}
}  // namespace

Snapshot TakeSnapshot() {
  Snapshot shot;
  AddTree("C:", shot.files);
  AddKeys(UninstallKeyPath, shot.keys);
  return shot;
}

std::vector<std::string> Differences(const Snapshot& before, const Snapshot& after) {
  const std::string tempDir = LowerCase(TempDir());
  std::vector<std::string> lines;
  for (const auto& [path, size] : after.files) {
    const auto old = before.files.find(path);
    const bool leftTemp = path.starts_with(tempDir + "$") && path.ends_with(".tmp") && size == 0;
    if (old == before.files.end() && !leftTemp) lines.push_back("new: " + path);
    if (old != before.files.end() && old->second != size) lines.push_back("changed: " + path);
  }
  for (const auto& [path, size] : before.files)
    if (!after.files.count(path)) lines.push_back("gone: " + path);
  for (const std::string& key : after.keys)
    if (!before.keys.count(key)) lines.push_back("new key: " + key);
  for (const std::string& key : before.keys)
    if (!after.keys.count(key)) lines.push_back("gone key: " + key);
  return lines;
}

void ExpectUnchanged(const Snapshot& before, DWORD settleMs) {
  std::vector<std::string> lines;  // the last look's, so that the drive is not walked again
  WaitUntil([&] { return (lines = Differences(before, TakeSnapshot())).empty(); }, settleMs);
  for (const std::string& line : lines) ADD_FAILURE() << line;
}

void ReportWindowsVersion(const char* version) {
  for (const char* program : {"SETUP.EXE", "Uninstal.exe"}) {
    const std::string key = std::string("Software\\Wine\\AppDefaults\\") + program;
    if (!version)
      DeleteRegistryTree(HKEY_CURRENT_USER, key);
    else
      WriteRegistryString(OpenRegistryKey(HKEY_CURRENT_USER, key, true), "Version", version);
  }
}

void PrepareMachine() {
  CreateDirectoryNamed("C:\\Programme");
  for (const int folder : {CSIDL_DESKTOPDIRECTORY, CSIDL_STARTMENU, CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_STARTMENU})
    DeleteFileNamed((SpecialFolder(nullptr, folder) + "\\Adressen.lnk"));
  for (const int folder : {CSIDL_PROGRAMS, CSIDL_COMMON_PROGRAMS}) DeleteTree(SpecialFolder(nullptr, folder) + "\\Adressen\\");
  DeleteTree(InstallDir + "\\");
  DeleteRegistryTree(HKEY_LOCAL_MACHINE, AdressenKey);
  const std::string library = GetWindowsDir() + "\\ADRHELP.DLL";
  DeleteFileNamed(library);
  DeleteRegistryValue(OpenRegistryKey(HKEY_LOCAL_MACHINE, SharedLibrariesKey, false), LowerCase(library));
}

void InstallUnattended(const std::string& name) {
  Program setup = ExampleDistribution(name).Start("SETUP.EXE", "/s");
  HWND wizard = WaitForWindow(setup.pid, "Tf_Aktion");
  RECT own = {};
  GetWindowRect(wizard, &own);
  EXPECT_EQ(own.left, 8000) << "the wizard is moved off the screen";
  EXPECT_FALSE(IsWindowVisible(StartWindow(setup.pid)));
  ASSERT_EQ(Perform(setup, {}), 0u);
  ASSERT_TRUE(FileExists(InstallDir + "\\Uninstal.exe"));
}

Steps RemovalSteps(bool deleteDirectory, bool directoryQuestion) {
  Steps steps = {{"Tf_Uninstal", UninstalForm::Button1}, {"TMessageForm", "Yes", "Sind Sie sicher"}};
  if (directoryQuestion) steps.push_back({"Tf_Ask", deleteDirectory ? AskForm::Button1 : AskForm::Button2});
  return steps + Steps{{"TMessageForm", "OK", "deinstalliert"}};
}

DWORD RemoveInstallation(bool deleteDirectory, const std::string& dir) {
  return Perform(StartProgram(dir + "\\Uninstal.exe", ""), RemovalSteps(deleteDirectory));
}

DWORD RunQuietly(const std::string& exe, const std::string& arguments, DWORD timeoutMs) {
  const Program program = StartProgram(exe, arguments);
  DWORD code = 99;
  bool windowSeen = false;
  const bool ended = WaitUntil(
      [&] {
        windowSeen = windowSeen || !TopWindows(program.pid).empty();
        return WaitForExit(program, 0, code);
      },
      timeoutMs);
  EXPECT_FALSE(windowSeen) << exe << " " << arguments << " showed a window";
  EXPECT_TRUE(ended) << exe << " " << arguments << " did not end";
  return code;
}

std::pair<DWORD, std::string> RegistrationValue(const std::string& name, const std::string& registration) {
  RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, registration, false);
  // As UTF-16, the registry's own form: a name outside the code page must be there whole.
  wchar_t data[1024] = {};
  DWORD type = 0, size = sizeof data - sizeof(wchar_t);
  if (!key || RegQueryValueExW(key.Get(), Wide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
    return {0, ""};
  if (type != REG_DWORD) return {type, FromWide(data)};
  DWORD number = 0;
  memcpy(&number, data, sizeof number);
  return {type, DecimalText(number)};
}

ShortcutPlaces ShortcutPlacesOf(const std::string& profile) {
  const auto shell = [](int csidl) { return SpecialFolder(nullptr, csidl); };
  const std::string common = shell(CSIDL_COMMON_DESKTOPDIRECTORY);
  if (profile.empty() || SameNameIgnoringCase(profile, shell(CSIDL_PROFILE)))
    return {shell(CSIDL_PROGRAMS), shell(CSIDL_STARTMENU), shell(CSIDL_DESKTOPDIRECTORY)};
  if (SameNameIgnoringCase(profile + "\\Desktop", common)) return {shell(CSIDL_COMMON_PROGRAMS), shell(CSIDL_COMMON_STARTMENU), common};
  // A profile of a German Windows of the XP era, as the tests make one.
  return {profile + "\\Startmenü\\Programme", profile + "\\Startmenü", profile + "\\Desktop"};
}

std::string GroupFolderOf(const std::string& dir, const std::string& group) {
  const std::string profile = IniFile(dir + "\\" + InstallLogName).ReadString("BenutzerKonto", "UserName", "");
  return ShortcutPlacesOf(profile).programs + "\\" + group;
}

DWORD RemoveQuietly(const std::string& registration) {
  return RunQuietly(SystemDir() + "cmd.exe", "/c " + RegistrationValue("QuietUninstallString", registration).second);
}

void Restart() {
  DWORD code = 99;
  ASSERT_TRUE(WaitForExit(StartProgram(SystemDir() + "wineboot.exe", "-r"), 60000, code));
}

#include "app/tf_setup.h"

#include <windows.h>

#include "app/start_rules.h"
#include "env/removal_rules.h"
#include "env/exit_codes.h"
#include "env/file_system.h"
#include "env/ini_file.h"
#include "env/install_names.h"
#include "env/paths.h"
#include "env/profiles.h"
#include "env/registry.h"
#include "env/run_lock.h"
#include "env/run_record.h"
#include "env/settings.h"
#include "env/system_names.h"
#include "env/version.h"
#include "forms/forms.h"
#include "install/install_texts.h"
#include "install/setup_script.h"
#include "install/tf_aktion.h"
#include "install/upgrade_rules.h"
#include "transfer/distribution.h"
#include "ui/application.h"
#include "ui/dialogs.h"
#include "uninstall/tf_uninstal.h"

using namespace SetupForm;

namespace {
// A program that carries a distribution installs it, whatever the download is called.
bool RunsAsSetup() { return CarriesDistribution() || IsSetupMode(ExtractFileName(GetExePath())); }

std::vector<std::string> Arguments() { return CommandLineArguments(CommandLineText()); }

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

int ScreenBitsPerPixel() {
  HDC dc = GetDC(nullptr);
  const int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  ReleaseDC(nullptr, dc);
  return bits;
}
}  // namespace

Tf_Setup::Tf_Setup() : Form(SetupFormDesc) {}

void Tf_Setup::FormCreate() {
  OnTimer(Timer1, [this] { Timer1Timer(); });
  OnTimer(AutoTimer, [this] { AutoTimerTimer(); });
  const StartRequest request = ParseStartRequest(Arguments(), KeyDown(VK_SHIFT), KeyDown(VK_CONTROL));
  SilentMode = request.silent;
  QuietMode = request.quiet;
  // Nor may the system ask for a disk on anyone's behalf.
  if (QuietMode) SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  // Without the record asked for the run goes on; attended, the user hears of it.
  if (!request.logFile.empty() && !OpenRunRecord(request.logFile) && !SilentMode)
    ShowMessage(RecordFailedText(request.logFile));
  RecordRun({"start: ", CommandLineText()});
  // A cut or damaged download installs nothing: not one file of it can be trusted.
  if (OpenCarriedDistribution() == Carried::Damaged) {
    ShowMessage(DamagedDownloadText(GetExePath()));
    Application.Halt(ExitNoControlFile);
  }
  SelectStep(0);
  Application.ProcessMessages();
  PrepareGradient();

  std::string controlFile;
  if (RunsAsSetup()) {
    SetText(SetupType, "Setup");
    controlFile = "Setup.lst";
    SelectStep(1);
  } else {
    SetTreeLines(TreeView1, UninstallSteps);
    SetText(SetupType, "Deinstallation");
    SetFontColor(SetupType, clRed);
    controlFile = InstallLogName;
    SetCaption("Deinstallation");
  }

  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  SetBounds(1, 1, GetSystemMetrics(SM_CXSCREEN), work.bottom - 3);

  if (RunsAsSetup() ? !DistributionHas(controlFile) : !FileExists(AppDir + controlFile)) {
    ShowMessage(MissingControlFileText(controlFile, RunsAsSetup() ? DistributionDir() : AppDir));
    Application.Halt(ExitNoControlFile);
  }
  ReadControlFile(controlFile);
  // A key the registry cannot take: the program could be neither registered nor removed.
  if (RunsAsSetup() && !IsRegistryKeyName(StartMenuFolder))
    HaltWithMessage(BadRegistrationNameText(StartMenuFolder), ExitNoControlFile);
  TakeRunLockOrHalt();
  ProposePreviousInstallation();
  if (RunsAsSetup()) RefuseDowngrade();
  if (!request.directory.empty()) DefaultPath = request.directory;
}

void Tf_Setup::PrepareGradient() {
  UseGradient = ScreenBitsPerPixel() > 8;
  if (!UseGradient) return;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 1;
  info.bmiHeader.biHeight = -256;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  GradientStrip.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!GradientStrip) {
    UseGradient = false;
    return;
  }
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int i = 0; i < 256; ++i) {
    const uint32_t color = BlendColor(0x800000, 0x000000, i, 256);
    // A DIB pixel is blue, green, red from the low byte: the reverse of a colour reference.
    pixels[i] = (color & 0x00FF00) | ((color >> 16) & 0xFF) | ((color & 0xFF) << 16);
  }
}

void Tf_Setup::ReadControlFile(const std::string& controlFile) {
  const IniFile log(AppDir + controlFile);
  const SetupScript script;
  const auto read = [&](const char* section, const char* key, const char* defaultValue) {
    return RunsAsSetup() ? script.Value(section, key, defaultValue) : log.ReadString(section, key, defaultValue);
  };
  ProgramName = read("General", "Name", "Programm");
  SetText(lbProgName, ProgramName);
  DefaultPath = read("General", "defaultPath", "C:\\App");
  StartMenuFolder = read("StartMenu", "Folder", "Unbenannt");
  GroupName = read("Group", "Name", "");
  ShortcutName = read("General", "Name", "");
  offeredVersion_ = read("General", "Version", "");
  RecordRun({"version: Setup ", SETUP_VERSION, ", ", controlFile, " of ", ProgramName, " ", offeredVersion_});
}

// Two runs for one program would work on the same files, log and registration at once: the
// second changes nothing. Unattended it ends without a word for anyone but the record.
void Tf_Setup::TakeRunLockOrHalt() {
  const std::string name = RunLockName(StartMenuFolder);
  switch (TakeRunLock(name)) {
    case RunLock::Held: return;
    case RunLock::Unavailable: RecordRun({"no lock against a second run: ", name}); return;
    case RunLock::Busy: break;
  }
  HaltWithMessage(AlreadyRunningText(ProgramName), ExitAlreadyRunning);
}

// Unattended the message goes only into the record.
void Tf_Setup::HaltWithMessage(const std::string& text, int code) {
  if (SilentMode)
    RecordRun({"message: ", text});
  else
    ShowMessage(text);
  Application.Halt(code);
}

void Tf_Setup::ProposePreviousInstallation() {
  std::string dir;
  {
    // Only looked at: a key made here would stay behind, empty, whenever the run ends before
    // the installation registers itself.
    RegKey key = OpenRegistryKey(HKEY_LOCAL_MACHINE, UninstallKeyOf(StartMenuFolder), false);
    if (!key) return;
    dir = PreviousInstallDir(ReadRegistryString(key, "UninstallString"));
    installedVersion_ = ReadRegistryString(key, "DisplayVersion");
  }
  if (!dir.empty() && DirectoryExists(dir)) DefaultPath = dir;
}

// An older version never replaces a newer one unasked: unattended, nobody could say yes.
void Tf_Setup::RefuseDowngrade() {
  if (installedVersion_.empty() || offeredVersion_.empty() || CompareVersions(offeredVersion_, installedVersion_) >= 0)
    return;
  RecordRun({"a newer version is installed: ", installedVersion_, ", this is ", offeredVersion_});
  if (SilentMode) Application.Halt(ExitNewerInstalled);
  if (Ask(DowngradeQuestionText(ProgramName, installedVersion_, offeredVersion_), DlgType::Warning, mbYes | mbNo,
          mrNo) != mrYes)
    Application.Halt(ExitByUser);
}

void Tf_Setup::FormPaint(HDC dc) {
  if (!UseGradient) return;
  HDC strip = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(strip, GradientStrip.Get());
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchBlt(dc, 0, 0, Width(), Height(), strip, 0, 0, 1, 256, SRCCOPY);
  SelectObject(strip, old);
  DeleteDC(strip);
}

void Tf_Setup::SelectStep(int n) { SelectTreeNode(TreeView1, n); }

void Tf_Setup::PlaceBesideTree(Form& form, bool useClientHeight) {
  RECT tree;
  GetWindowRect(Item(TreeView1), &tree);
  const int w = tree.right - tree.left;
  const int h = useClientHeight ? ClientHeight() : Height();
  form.SetPosition(w + (ClientWidth() - w - form.Width()) / 2, (h - form.Height()) / 2);
}

void Tf_Setup::Start() {
  SetTimerEnabled(Timer1, true);
  if (QuietMode) Timer1Timer();
}

void Tf_Setup::Timer1Timer() {
  if (!TimerEnabled(Timer1)) return;  // a tick that was already queued
  SetTimerEnabled(Timer1, false);
  RunWindow();
  Close();
}

void Tf_Setup::RunWindow() {
  if (RunsAsSetup()) {
    auto wizard = CreateForm<Tf_Aktion>();
    PlaceBesideTree(*wizard, false);
    wizard_ = wizard.get();
    if (QuietMode) {
      wizard->WalkUnattended();  // hidden all the way: no window is ever shown
    } else {
      if (SilentMode) SetTimerEnabled(AutoTimer, true);
      wizard->ShowModal();
    }
    wizard_ = nullptr;
  } else {
    auto window = CreateForm<Tf_Uninstal>();
    PlaceBesideTree(*window, false);
    if (QuietMode)
      window->Button1Click();
    else
      window->ShowModal();
  }
}

void Tf_Setup::AutoTimerTimer() {
  SetTimerEnabled(AutoTimer, false);
  if (!wizard_) return;
  wizard_->WalkUnattended();
}

// The start window's decisions, kept free of Win32 so that they can be tested anywhere.
#pragma once
#include <cstdint>
#include <string>

// Setup mode when the executable's file name is SETUP.EXE in any letter case.
bool IsSetupMode(const std::string& exeFileName);
// Unattended when the first argument is "/s" in any case, or Shift and Ctrl are both held.
bool IsSilentRequest(const std::string& firstArgument, bool shiftDown, bool ctrlDown);
// Blends two colour references byte by byte: ((steps - step) * from + step * to) / steps.
uint32_t BlendColor(uint32_t from, uint32_t to, int step, int steps);
// The installation directory named by an uninstall command, which may stand in quotes:
// its directory part without the trailing "\"; empty when it names none.
std::string PreviousInstallDir(const std::string& uninstallString);
// The message for a missing Setup.lst or install1.log.
std::string MissingControlFileText(const std::string& controlFile, const std::string& appDir);

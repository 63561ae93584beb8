#include "tests/e2e/distribution.h"

#include "codec/name_mapping.h"
#include "commands.h"

#include <windows.h>

#include "env/deletion.h"
#include "env/handles.h"
#include "env/profiles.h"

void RemoveFolder(const std::string& dir) { DeleteTree(dir); }

Distribution::Distribution(const std::string& name) : dir_("C:\\e2e\\" + name + "\\") {
  RemoveFolder(dir_);
  CreateDirectoryA("C:\\e2e", nullptr);
  CreateDirectoryA(dir_.c_str(), nullptr);
}

void Distribution::AddSetupExe(const std::string& fileName) const {
  CopyFileA((GetExeDirectory() + "SETUP.EXE").c_str(), (dir_ + fileName).c_str(), FALSE);
}

void Distribution::AddExample(const std::string& name, const std::string& as) const {
  CopyFileA((std::string(E2E_EXAMPLES_DIR) + "\\" + name).c_str(),
            (dir_ + (as.empty() ? name : as)).c_str(), FALSE);
}

void Distribution::AddFile(const std::string& name, const std::string& content) const {
  KernelHandle file = FromCreateFile(CreateFileA((dir_ + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (file) WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

void Distribution::Folder(const std::string& name) const {
  CreateDirectoryA((dir_ + name).c_str(), nullptr);
}

void Distribution::AddCompressed(const std::string& name, const std::string& content) const {
  const std::string plain = dir_ + MapCompressedName(name);
  AddFile(MapCompressedName(name), content);
  CompressCommand(plain, "");
  DeleteFileA(plain.c_str());
}

Program Distribution::Start(const std::string& fileName, const std::string& arguments,
                            const std::vector<std::string>& environment) const {
  return StartProgram(dir_ + fileName, arguments, environment);
}

void SaveScreenshot(const Screenshot& shot, const std::string& name) {
  CreateDirectoryA(E2E_SCREENSHOT_DIR, nullptr);
  shot.SaveBmp(std::string(E2E_SCREENSHOT_DIR) + "\\" + name + ".bmp");
}

// A fresh folder for each test of files, removed after it, with the helpers those tests share.
#pragma once
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class TempFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string suite = ::testing::UnitTest::GetInstance()->current_test_info()->test_suite_name();
    dir_ = std::filesystem::temp_directory_path() / (suite + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
    return Path(name);
  }
  std::string WriteBytes(const std::string& name, const std::vector<uint8_t>& bytes) const {
    return Write(name, std::string(bytes.begin(), bytes.end()));
  }
  static std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  static std::vector<uint8_t> ReadBytes(const std::filesystem::path& path) {
    const std::string text = Read(path);
    return {text.begin(), text.end()};
  }

  std::filesystem::path dir_;
};

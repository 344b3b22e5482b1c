// What the tests of the settings file on disk share: a fresh folder for each
// test, files read and written whole, and a process killed in mid-save.
#pragma once

#include "KillInMidSave.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

// `path` is the settings file's place below the test's own folder `dir`,
// which is removed with all in it after the test.
class SettingsFolderTest : public ::testing::Test {
protected:
    explicit SettingsFolderTest(std::string file) : m_file(std::move(file)) {}

    void SetUp() override {
        std::string pattern = ::testing::TempDir() + "tarvo-config-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        path = dir + "/" + m_file;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string dir, path;

private:
    std::string m_file;
};

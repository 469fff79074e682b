#pragma once
// A temporary folder of the test's own holding a Setup.log written from
// lines (joined with CR LF, as the installer writes them).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

namespace brevix::uninstall {

class LogFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("brevix-uninstall-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // The folder as the uninstaller gets it: ending in a separator.
    std::string directory() const { return folder_.string() + "/"; }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    void writeLog(std::initializer_list<std::string> lines, const std::string& name = "Setup.log") {
        std::string text;
        for (const auto& line : lines) text += line + "\r\n";
        writeFile(name, text);
    }
    void writeFile(const std::string& name, const std::string& text) {
        std::ofstream out(folder_ / name, std::ios::binary);
        out << text;
    }

    std::filesystem::path folder_;
};

}  // namespace brevix::uninstall

#pragma once
// Points the settings store at a fresh folder of the test's own, so tests
// never read or change the settings of the person running them.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/registry.h"

namespace brevix {

class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("brevix-doc-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / "settings");
        setRegistryFolder((folder_ / "settings").string());
    }
    void TearDown() override {
        setRegistryFolder("");
        std::filesystem::remove_all(folder_);
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    std::filesystem::path folder_;
};

}  // namespace brevix

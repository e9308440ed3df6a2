#pragma once
// A fresh folder for each test, named after it and the process so that parallel runs never
// share one; it is left for inspection when the test failed.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

class ScratchDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ =
            std::filesystem::temp_directory_path() / ("orvex_" + std::string(info->test_suite_name()) + "_" +
                                                      info->name() + "_" + std::to_string(::getpid()));
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        if (!HasFailure()) std::filesystem::remove_all(dir_);
    }
    std::string P(const std::string& name) const { return (dir_ / name).string(); }
    // Writes `text` byte for byte to a file of the folder; returns its path.
    std::string WriteFile(const std::string& name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary | std::ios::trunc) << text;
        return P(name);
    }
    std::filesystem::path dir_;
};

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "OrvexError.h"
#include "SensitivityFile.h"

TEST(SensitivityFile, LinesAreTabSeparatedWithCrLf) {
    const auto path = std::filesystem::temp_directory_path() / "orvex_sa_test.txt";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    TSensitivityFile out(file, path.string());
    const double first[] = {1.5, -2.0, 12.25};
    out.WriteLineAndFlush(first);
    const double rows[] = {1.0, 2.0, 3.0, 4.0, 5.0, 6.0};
    out.WriteRows(rows, 3);
    std::fclose(file);
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "1.500\t-2.000\t12.250\r\n1.000\t2.000\t3.000\r\n4.000\t5.000\t6.000\r\n");
    std::filesystem::remove(path);
}

TEST(SensitivityFile, WriteErrorRaises) {
    const auto path = std::filesystem::temp_directory_path() / "orvex_sa_readonly.txt";
    { std::ofstream(path) << "x"; }
    std::FILE* file = std::fopen(path.c_str(), "rb"); // open, but not for writing
    ASSERT_NE(file, nullptr);
    TSensitivityFile out(file, path.string());
    const double row[] = {1.0, 2.0};
    EXPECT_THROW(out.WriteRows(row, 2), EOrvexError);
    std::fclose(file);
    std::filesystem::remove(path);
}

// SPDX-License-Identifier: MIT
// Every test process gets a private, empty XDG_CONFIG_HOME (and HOME) before
// Qt or QSettings look at the environment, so the user's real settings are
// never read or touched.
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
    std::string base =
        (std::filesystem::temp_directory_path() / "quelmo-settings-test-XXXXXX").string();
    if (!::mkdtemp(base.data())) {
        return 2;
    }
    const std::string config = base + "/config";
    std::filesystem::create_directories(config);
    ::setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::setenv("HOME", base.c_str(), 1);

    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();

    std::error_code ec;
    std::filesystem::remove_all(base, ec);
    return result;
}

// SPDX-License-Identifier: MIT
#include "platform/install/install_location.h"
#include "platform/install/move_to_applications.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace quelmo {
namespace {

namespace fs = std::filesystem;

TEST(InstallLocation, OfferedOnlyOutsideInstalledPlacesAndBuilds) {
    const InstallLayout layout{"/home/ann", "/usr/local", "/home/ann/src/quelmo/out"};
    EXPECT_TRUE(shouldOfferMove("/home/ann/Downloads/quelmo/bin/quelmo", layout));
    EXPECT_TRUE(shouldOfferMove("/media/ann/stick/quelmo", layout));
    EXPECT_FALSE(shouldOfferMove("/usr/bin/quelmo", layout));
    EXPECT_FALSE(shouldOfferMove("/usr/local/bin/quelmo", layout));
    EXPECT_FALSE(shouldOfferMove("/opt/quelmo/bin/quelmo", layout));
    EXPECT_FALSE(shouldOfferMove("/home/ann/.local/bin/quelmo", layout));
    EXPECT_FALSE(shouldOfferMove("/home/ann/src/quelmo/build/app/quelmo", layout));
    EXPECT_FALSE(shouldOfferMove("/home/ann/src/quelmo/.build/quelmo", layout));
    // Plain text comparisons: a look-alike folder is not the install.
    EXPECT_TRUE(shouldOfferMove("/home/ann/.localx/quelmo", layout));
    EXPECT_TRUE(shouldOfferMove("/usrx/quelmo", layout));
    const InstallLayout custom{"/home/ann", "/srv/tools", "/home/ann/src/quelmo/out-asan"};
    EXPECT_FALSE(shouldOfferMove("/srv/tools/bin/quelmo", custom));
    // A build tree of any name is a development build.
    EXPECT_FALSE(shouldOfferMove("/home/ann/src/quelmo/out-asan/program/quelmo", custom));
    EXPECT_TRUE(shouldOfferMove("/home/ann/src/quelmo/out-asan2/quelmo", custom));
}

struct TempTree {
    fs::path root = fs::temp_directory_path() / ("quelmo-move-" + std::to_string(::getpid()));
    TempTree() { fs::remove_all(root); }
    ~TempTree() { fs::remove_all(root); }
    void file(const fs::path& relative, const std::string& text) {
        fs::create_directories((root / relative).parent_path());
        std::ofstream(root / relative) << text;
    }
    std::string read(const fs::path& relative) {
        std::ifstream in(root / relative);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
};

TEST(InstallLocation, MoveCopiesProgramsAndDataAndKeepsTheOldCopies) {
    TempTree t;
    t.file("dl/bin/quelmo", "new program");
    t.file("dl/bin/quelmo-sim", "sim");
    t.file("dl/bin/unrelated", "x");
    t.file("dl/share/applications/app.quelmo.Quelmo.desktop", "entry");
    t.file("home/.local/bin/quelmo", "old program");
    const InstallLayout layout{(t.root / "home").string(), "/usr/local", ""};

    const auto steps = planMove((t.root / "dl/bin/quelmo").string(), layout);
    ASSERT_EQ(steps.size(), 3u);
    EXPECT_EQ(steps.front().to, (t.root / "home/.local/bin/quelmo").string());

    // The old copy goes to the trash of this home (XDG trash under the data home).
    ::setenv("XDG_DATA_HOME", (t.root / "home/.local/share").c_str(), 1);
    ::setenv("HOME", (t.root / "home").c_str(), 1);
    EXPECT_FALSE(MoveToApplications::move(steps).has_value());
    EXPECT_EQ(t.read("home/.local/bin/quelmo"), "new program");
    EXPECT_EQ(t.read("home/.local/bin/quelmo-sim"), "sim");
    EXPECT_EQ(t.read("home/.local/share/applications/app.quelmo.Quelmo.desktop"), "entry");
    EXPECT_FALSE(fs::exists(t.root / "home/.local/bin/unrelated"));
    EXPECT_EQ(t.read("dl/bin/quelmo"), "new program"); // copied, not moved
    EXPECT_EQ(t.read("home/.local/share/Trash/files/quelmo"), "old program");
}

TEST(InstallLocation, AFailedCopySaysWhy) {
    TempTree t;
    t.file("dl/bin/quelmo", "program");
    const std::vector<CopyStep> steps = {
        {(t.root / "dl/bin/quelmo").string(), "/proc/quelmo-cannot/bin/quelmo"}};
    const auto error = MoveToApplications::move(steps);
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("/proc/quelmo-cannot/bin"), std::string::npos) << *error;
}

} // namespace
} // namespace quelmo

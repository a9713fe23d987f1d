// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <memory>

namespace {

bool onlyListing(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0)
            return true;
    }
    return false;
}

}  // namespace

// Every test binary runs with an application object, so widgets and queued events work, and
// knows where the built programs lie (MARVANE_TEST_BIN, unless the caller names another). Listing
// the tests (CTest's discovery, which runs without the tests' environment) needs no display.
// The developer's desktop stays out: no platform theme of theirs, no browser named, and Qt's own
// dialogs, which a test can answer, rather than the desktop's.
int main(int argc, char** argv)
{
    setenv("MARVANE_TEST_BIN", MARVANE_TEST_BIN_DIR, 0);
    for (const char* desktop : {"QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE", "BROWSER", "DEFAULT_BROWSER"})
        unsetenv(desktop);
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    std::unique_ptr<QApplication> app;
    if (!onlyListing(argc, argv))
        app = std::make_unique<QApplication>(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

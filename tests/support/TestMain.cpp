#include <QApplication>
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

// Every test binary runs with an application object, so widgets and queued events work. Listing
// the tests (CTest's discovery, which runs without the tests' environment) needs no display.
int main(int argc, char** argv)
{
    std::unique_ptr<QApplication> app;
    if (!onlyListing(argc, argv))
        app = std::make_unique<QApplication>(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

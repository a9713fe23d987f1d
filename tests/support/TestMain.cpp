#include <QApplication>
#include <gtest/gtest.h>

// Every test binary runs with an application object, so widgets and queued events work.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QUuid>
#include <QtCore/qtestsupport_core.h>
#include <future>

#include "platform/SingleInstance.h"

namespace {

// Two starts in one process: the second finds the first and hands it names that hold a space,
// a newline and non-Latin letters, whole and in order.
TEST(SingleInstance, ASecondStartHandsItsFilesToTheFirst)
{
    const QString key = "marvane-test-" + QUuid::createUuid().toString(QUuid::Id128);
    SingleInstance first(key);
    ASSERT_TRUE(first.becomeFirst());
    SingleInstance second(key);
    EXPECT_FALSE(second.becomeFirst());

    QStringList received;
    bool arrived = false;
    QObject::connect(&first, &SingleInstance::filesHandedOver, [&](const QStringList& files) {
        received = files;
        arrived = true;
    });
    const QStringList files{"/clips/a b.mpg", "/clips/two\nlines.avi", "/clips/ä%20.mp4"};
    auto handed = std::async(std::launch::async, [&] { return second.handOver(files); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return arrived; }));
    EXPECT_TRUE(handed.get());
    EXPECT_EQ(received, files);
}

}  // namespace

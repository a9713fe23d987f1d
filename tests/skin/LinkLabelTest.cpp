// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QEnterEvent>
#include <QTest>

#include "RecordingShell.h"
#include "ScriptedPrompts.h"
#include "skin/LinkLabel.h"

namespace {

void click(LinkLabel& label) { QTest::mouseClick(&label, Qt::LeftButton, Qt::NoModifier, QPoint(3, 3)); }

// Whether any pixel of the label is close to the colour: the text is drawn smoothed.
bool showsColour(LinkLabel& label, const QColor& colour)
{
    const QImage image = label.grab().toImage();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
                std::abs(c.blue() - colour.blue()) < 40)
                return true;
        }
    return false;
}

}  // namespace

TEST(LinkLabel, OpensItsTargetAndTurnsVisited)
{
    ScopedShell shell;
    ScopedPrompts prompts;
    LinkLabel label(QStringLiteral("Our web site"));
    label.resize(120, 20);
    label.SetTarget(QStringLiteral("https://kestrune.example/"));
    EXPECT_EQ(label.toolTip(), QStringLiteral("https://kestrune.example/"));
    EXPECT_TRUE(showsColour(label, LinkLabel::linkColor));
    click(label);
    EXPECT_EQ(shell->opened, std::vector<QString>{QStringLiteral("https://kestrune.example/")});
    EXPECT_TRUE(label.IsVisited());
    EXPECT_TRUE(showsColour(label, LinkLabel::visitedColor));
    EXPECT_EQ(prompts->beeps, 0);
}

TEST(LinkLabel, WithoutATargetOpensItsOwnText)
{
    ScopedShell shell;
    LinkLabel label(QStringLiteral("mailto:support@kestrune.example"));
    label.resize(200, 20);
    click(label);
    EXPECT_EQ(shell->opened, std::vector<QString>{QStringLiteral("mailto:support@kestrune.example")});
}

TEST(LinkLabel, BeepsWhenTheTargetCannotBeOpenedAndStaysUnvisited)
{
    ScopedShell shell;
    ScopedPrompts prompts;
    shell->openResult = false;
    LinkLabel label(QStringLiteral("help"));
    label.resize(60, 20);
    label.SetTarget(QStringLiteral("/nowhere/help.chm"));
    click(label);
    EXPECT_EQ(prompts->beeps, 1);
    EXPECT_FALSE(label.IsVisited());
    EXPECT_EQ(label.TextColor(), LinkLabel::linkColor);
}

TEST(LinkLabel, IsRedUnderThePointerAndShowsItsCursor)
{
    LinkLabel label(QStringLiteral("link"));
    label.resize(60, 20);
    label.SetLinkCursor(QCursor(Qt::PointingHandCursor));
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(&label, &enter);
    EXPECT_TRUE(label.IsHovering());
    EXPECT_TRUE(showsColour(label, LinkLabel::hoverColor));
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&label, &leave);
    EXPECT_EQ(label.TextColor(), LinkLabel::linkColor);
}

TEST(LinkLabel, APictureStaticKeepsItsOrdinaryLook)
{
    LinkLabel label;
    QPixmap picture(20, 20);
    picture.fill(QColor(10, 200, 10));
    label.setPixmap(picture);
    label.resize(20, 20);
    EXPECT_TRUE(showsColour(label, QColor(10, 200, 10)));
    EXPECT_FALSE(showsColour(label, LinkLabel::linkColor));
}

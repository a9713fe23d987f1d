// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAction>
#include <QEnterEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <vector>

#include "skin/CHoverButton.h"
#include "skin/CommandEvent.h"

namespace {

const QRgb frameColours[] = {0xFF102030, 0xFF405060, 0xFF708090, 0xFFA0B0C0};

// A strip whose frames are each one colour; the leftover column past the last frame stays black.
QImage colouredStrip(int width, int height, int frames)
{
    QImage strip(width, height, QImage::Format_RGB32);
    strip.fill(Qt::black);
    const int frameWidth = width / frames;
    for (int i = 0; i < frames; ++i)
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < frameWidth; ++x)
                strip.setPixel(i * frameWidth + x, y, frameColours[i]);
    return strip;
}

void hover(QWidget& widget)
{
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QCoreApplication::sendEvent(&widget, &enter);
}

QRgb shown(CHoverButton& button) { return button.grab().toImage().pixel(0, 0); }

// Records the commands posted to it, and whether a command had arrived by the time its
// click handler ran.
class Owner : public QWidget {
public:
    std::vector<int> commands;
    bool commandBeforeClick = false;
    int clicks = 0;

    void onClick()
    {
        ++clicks;
        commandBeforeClick = !commands.empty();
    }

protected:
    bool event(QEvent* event) override
    {
        if (event->type() == CommandEvent::type()) {
            commands.push_back(static_cast<CommandEvent*>(event)->command());
            return true;
        }
        return QWidget::event(event);
    }
};

class MenuRunnerGuard {
public:
    explicit MenuRunnerGuard(CHoverButton::MenuRunner runner)
        : previous_(CHoverButton::InstallMenuRunner(std::move(runner)))
    {
    }
    ~MenuRunnerGuard() { CHoverButton::InstallMenuRunner(std::move(previous_)); }

private:
    CHoverButton::MenuRunner previous_;
};

QAction* actionFor(QMenu& menu, int command)
{
    for (QAction* action : menu.actions())
        if (!action->isSeparator() && action->data().toInt() == command)
            return action;
    return nullptr;
}

}  // namespace

// A four-frame strip has a frame for each state; a two-frame one shows its second frame for
// every state but rest. Pressed and disabled beat hovered.
TEST(CHoverButton, EachStateShowsItsFrameOfTheStrip)
{
    const struct { int frames, width, pressed, hovered, disabled; } strips[] = {{4, 53, 1, 2, 3}, {2, 131, 1, 1, 1}};
    for (const auto& strip : strips) {
        SCOPED_TRACE(strip.frames);
        CHoverButton button;
        ASSERT_TRUE(button.LoadStateImage(colouredStrip(strip.width, 19, strip.frames), strip.frames, false));
        EXPECT_EQ(button.size(), QSize(strip.width / strip.frames, 19));  // the leftover column is dropped
        EXPECT_EQ(shown(button), frameColours[0]);
        hover(button);
        EXPECT_EQ(shown(button), frameColours[strip.hovered]);
        button.setDown(true);
        EXPECT_EQ(shown(button), frameColours[strip.pressed]);
        button.setDown(false);
        button.setEnabled(false);
        EXPECT_EQ(shown(button), frameColours[strip.disabled]);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&button, &leave);
        button.setEnabled(true);
        EXPECT_FALSE(button.IsHovering());
        EXPECT_EQ(shown(button), frameColours[0]);
    }
}

TEST(CHoverButton, StripGreysFollowTheDesktopColours)
{
    QImage strip(8, 4, QImage::Format_RGB32);
    strip.fill(qRgb(192, 192, 192));
    CHoverButton button;
    QPalette palette = button.palette();
    palette.setColor(QPalette::Button, QColor(1, 99, 200));
    button.setPalette(palette);
    button.LoadStateImage(strip, 4, false);
    EXPECT_EQ(shown(button), qRgb(1, 99, 200));
}

TEST(CHoverButton, AChosenMenuCommandIsPostedToTheOwnerAfterItsClickHandler)
{
    Owner owner;
    CHoverButton button(&owner);
    button.resize(46, 45);
    button.move(10, 20);
    QObject::connect(&button, &QAbstractButton::clicked, &owner, [&owner] { owner.onClick(); });
    button.SetPopupMenu(158, &owner, false);
    ASSERT_TRUE(button.HasMenu());
    QPoint droppedAt;
    QStringList texts;
    MenuRunnerGuard runner([&](QMenu& menu, const QPoint& at) {
        droppedAt = at;
        for (QAction* action : menu.actions())
            texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return actionFor(menu, 32775);
    });
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(droppedAt, button.mapToGlobal(QPoint(0, 45)));
    EXPECT_EQ(texts, QStringList({"Content", "-", "Mail To Support", "-", "About Marvane", "Kestrune Software"}));
    EXPECT_EQ(owner.clicks, 1);
    EXPECT_FALSE(owner.commandBeforeClick);
    EXPECT_TRUE(owner.commands.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(owner.commands, std::vector<int>{32775});
}

TEST(CHoverButton, WithoutAMenuOrAChoiceAClickOnlyReachesTheOwner)
{
    Owner owner;
    CHoverButton button(&owner);
    button.resize(46, 45);
    QObject::connect(&button, &QAbstractButton::clicked, &owner, [&owner] { owner.onClick(); });
    int runs = 0;
    MenuRunnerGuard runner([&runs](QMenu&, const QPoint&) -> QAction* {
        ++runs;
        return nullptr;
    });
    button.SetPopupMenu(9999, &owner, false);  // no such menu
    EXPECT_FALSE(button.HasMenu());
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    button.SetPopupMenu(164, &owner, false);
    button.SetPopupMenu(0, &owner, false);  // removed again
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(owner.clicks, 2);

    button.SetPopupMenu(164, &owner, false);  // a menu that closes with nothing chosen
    QTest::mouseClick(&button, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(owner.clicks, 3);
    EXPECT_TRUE(owner.commands.empty());
}

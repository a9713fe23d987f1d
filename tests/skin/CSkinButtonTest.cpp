// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "skin/CSkinButton.h"

namespace {

const QColor face(212, 208, 200);
const QColor caption(0, 160, 0);
const QColor shadow(90, 90, 90);
const QColor highlight(250, 250, 250);

QImage solid(QRgb colour)
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

// A button with known system colours: face, text, shadow and highlight.
void useKnownColours(CSkinButton& button)
{
    QPalette palette = button.palette();
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::ButtonText, caption);
    palette.setColor(QPalette::Dark, shadow);
    palette.setColor(QPalette::Light, highlight);
    button.setPalette(palette);
    button.SetDefaultColors(false);
}

void hover(QWidget& widget)
{
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QCoreApplication::sendEvent(&widget, &enter);
}

void leave(QWidget& widget)
{
    QEvent event(QEvent::Leave);
    QCoreApplication::sendEvent(&widget, &event);
}

QColor at(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

}  // namespace

TEST(CSkinButton, OffsetColorChangesOneSlotOrRefusesBadArguments)
{
    CSkinButton button;
    useKnownColours(button);
    EXPECT_EQ(button.OffsetColor(CSkinButton::BkIn, 30, false), 0);
    EXPECT_EQ(button.Color(CSkinButton::BkIn), QColor(242, 238, 230));
    EXPECT_EQ(button.Color(CSkinButton::BkOut), face);
    EXPECT_EQ(button.OffsetColor(6, 30, false), 3);
    EXPECT_EQ(button.OffsetColor(-1, 30, false), 3);
    EXPECT_EQ(button.OffsetColor(CSkinButton::BkOut, 300, false), 5);
    EXPECT_EQ(button.OffsetColor(CSkinButton::BkOut, -256, false), 5);
    EXPECT_EQ(button.Color(CSkinButton::BkOut), face);
}

TEST(CSkinButton, ASystemColourChangeResetsEverySlot)
{
    CSkinButton button;
    button.OffsetColor(CSkinButton::BkIn, -40, false);
    const QPalette before = QApplication::palette();
    QPalette changed = before;
    changed.setColor(QPalette::Button, QColor(10, 120, 200));
    QApplication::setPalette(changed);
    QCoreApplication::processEvents();
    EXPECT_EQ(button.Color(CSkinButton::BkIn), QColor(10, 120, 200));
    EXPECT_EQ(button.Color(CSkinButton::BkOut), QColor(10, 120, 200));
    QApplication::setPalette(before);
}

TEST(CSkinButton, IconsComeFromTheResourcesOrFailTogether)
{
    CSkinButton button;
    EXPECT_EQ(button.SetIcons(141, 140), 0);
    EXPECT_EQ(button.NormalIcon().size(), QSize(16, 16));
    EXPECT_FALSE(button.SecondIcon().isNull());
    EXPECT_EQ(button.SetIcons(171, CSkinButton::IconGrayscale), 0);
    EXPECT_FALSE(button.SecondIcon().isNull());
    EXPECT_EQ(button.SetIcons(171, 9999), 1);
    EXPECT_TRUE(button.NormalIcon().isNull());
    EXPECT_TRUE(button.SecondIcon().isNull());
    EXPECT_EQ(button.SetIconHandles(QImage(), solid(0xFF0000FF)), 1);
    EXPECT_TRUE(button.SecondIcon().isNull());
}

TEST(CSkinButton, CheckModeShowsIconFaceAndFrameOfEachState)
{
    CSkinButton button(nullptr, CSkinButton::CheckBoxStyleBit);
    button.resize(60, 30);
    useKnownColours(button);
    button.OffsetColor(CSkinButton::BkIn, 30, false);
    const QColor lit(242, 238, 230);
    const QRgb normalIcon = 0xFFFF0000, secondIcon = 0xFF0000FF;
    ASSERT_EQ(button.SetIconHandles(solid(normalIcon), solid(secondIcon)), 0);
    const int iconX = (60 - 16) / 2, iconY = (30 - 16) / 2;

    QImage image = button.grab().toImage();  // unchecked, at rest
    EXPECT_EQ(image.pixel(iconX, iconY), secondIcon);
    EXPECT_EQ(at(image, 1, 1), face);
    EXPECT_EQ(at(image, 0, 0), face);  // no frame

    button.SetCheck(1);
    image = button.grab().toImage();
    EXPECT_EQ(image.pixel(iconX, iconY), normalIcon);
    EXPECT_EQ(image.pixel(iconX - 1, iconY - 1), lit.rgb());  // held-down look, no offset
    EXPECT_EQ(at(image, 1, 1), lit);
    EXPECT_EQ(at(image, 0, 0), shadow);  // sunken
    EXPECT_EQ(at(image, 59, 29), highlight);

    button.SetCheck(0);
    hover(button);
    ASSERT_TRUE(button.IsMouseOver());
    image = button.grab().toImage();
    EXPECT_EQ(image.pixel(iconX, iconY), secondIcon);
    EXPECT_EQ(at(image, 1, 1), lit);
    EXPECT_EQ(at(image, 0, 0), highlight);  // raised
    EXPECT_EQ(at(image, 59, 29), shadow);

    leave(button);
    button.setDown(true);
    image = button.grab().toImage();
    EXPECT_EQ(image.pixel(iconX, iconY), normalIcon);
    EXPECT_EQ(at(image, 0, 0), shadow);
}

TEST(CSkinButton, IconSitsCentredAloneAndBesideACaptionAndMovesWhilePressed)
{
    const QRgb red = 0xFFFF0000;
    CSkinButton alone;
    alone.resize(40, 30);
    useKnownColours(alone);
    alone.SetIconHandles(solid(red));
    QImage image = alone.grab().toImage();
    EXPECT_EQ(image.pixel(12, 7), red);
    EXPECT_EQ(image.pixel(27, 22), red);
    EXPECT_EQ(at(image, 11, 7), face);
    EXPECT_EQ(at(image, 28, 22), face);
    alone.setDown(true);
    image = alone.grab().toImage();
    EXPECT_EQ(image.pixel(13, 8), red);
    EXPECT_NE(image.pixel(12, 7), red);

    CSkinButton captioned(QStringLiteral("Browse"));
    captioned.resize(100, 30);
    useKnownColours(captioned);
    captioned.SetIconHandles(solid(red));
    image = captioned.grab().toImage();
    EXPECT_EQ(image.pixel(3, 7), red);
    EXPECT_EQ(at(image, 2, 7), face);
    // The caption is centred in what lies right of the icon.
    int left = 100, right = -1;
    for (int y = 0; y < 30; ++y)
        for (int x = 20; x < 100; ++x) {
            const QColor c = at(image, x, y);
            if (c.green() > c.red() + 40) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    ASSERT_GT(right, left);
    EXPECT_NEAR((left + right) / 2.0, (3 + 16 + 100) / 2.0, 3.0);
    captioned.setDown(true);
    image = captioned.grab().toImage();
    EXPECT_EQ(image.pixel(4, 8), red);
}

TEST(CSkinButton, HoverStartsOnEntryEndsOnLeaveAndFocusLossNotWhileDraggingIn)
{
    CSkinButton button;
    button.resize(40, 20);
    QMouseEvent dragIn(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::LeftButton,
                       Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &dragIn);
    EXPECT_FALSE(button.IsMouseOver());
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &move);
    EXPECT_TRUE(button.IsMouseOver());
    QMouseEvent away(QEvent::MouseMove, QPointF(80, 5), QPointF(80, 5), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(&button, &away);
    EXPECT_FALSE(button.IsMouseOver());
    hover(button);
    EXPECT_TRUE(button.IsMouseOver());
    QFocusEvent focusOut(QEvent::FocusOut);
    QCoreApplication::sendEvent(&button, &focusOut);
    EXPECT_FALSE(button.IsMouseOver());
}

TEST(CSkinButton, ADoubleClickOnAToggleTogglesItTwice)
{
    CSkinButton toggle(nullptr, CSkinButton::CheckBoxStyleBit);
    toggle.resize(40, 20);
    QSignalSpy clicks(&toggle, &QAbstractButton::clicked);
    // What the desktop delivers for a double click: down, up, double click, up.
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&toggle, &event);
    }
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_FALSE(toggle.GetCheck());
    QTest::mouseClick(&toggle, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_TRUE(toggle.GetCheck());
}

TEST(CSkinButton, DisablingHandsTheFocusToTheNextTabStopOrTheParent)
{
    QWidget dialog;
    auto* layout = new QVBoxLayout(&dialog);
    auto* before = new QLineEdit(&dialog);
    auto* button = new CSkinButton(QStringLiteral("OK"), &dialog);
    auto* after = new QLineEdit(&dialog);
    layout->addWidget(before);
    layout->addWidget(button);
    layout->addWidget(after);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    before->setFocus();
    ASSERT_EQ(dialog.focusWidget(), before);
    button->setEnabled(false);  // even though another control had the focus
    EXPECT_EQ(dialog.focusWidget(), after);

    button->setEnabled(true);
    before->setEnabled(false);
    after->setEnabled(false);
    button->setFocus();
    button->setEnabled(false);
    EXPECT_EQ(dialog.focusWidget(), &dialog);
}

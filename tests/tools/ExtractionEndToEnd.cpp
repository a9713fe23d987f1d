// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QComboBox>
#include <QTreeWidget>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include "FrameTestMedia.h"
#include "ScriptedPrompts.h"
#include "TestMedia.h"
#include "dudidevar/control/DudidEvarControl.h"
#include "engine/CDudidEvar.h"
#include "tools/AudioExtractionDialog.h"
#include "tools/ImageExtractionDialog.h"

// Both tools driven through their dialogs with the real conversion control on generated media.
namespace {

class ExtractionEndToEnd : public ::testing::Test {
protected:
    void SetUp() override { control_.Attach(std::make_unique<DudidEvarControl>()); }

    // The audio tool as the main window opens it, its rows the sources, writing into the folder.
    void openSoundTool(AudioExtractionDialog& dialog, const std::string& folder, const QStringList& sources)
    {
        QObject::connect(&control_, &CDudidEvar::convertDone, &dialog, &AudioExtractionDialog::postItemDone);
        QObject::connect(&control_, &CDudidEvar::convertProgress, &dialog, &AudioExtractionDialog::postItemProgress);
        QObject::connect(&control_, &CDudidEvar::convertFailed, &dialog, &AudioExtractionDialog::postItemFailed);
        dialog.ResetItems();
        dialog.initDialog();
        prompts_->folders = {QString::fromStdString(folder)};
        dialog.findChild<QPushButton*>("1011")->click();
        prompts_->files.assign(sources.begin(), sources.end());
        for (int i = 0; i < sources.size(); ++i)
            dialog.findChild<QPushButton*>("1057")->click();
    }
    // Extract Now in the format of that row of the list; false when the run did not end (a run
    // that hangs fails the test rather than the suite).
    static bool runSoundTool(AudioExtractionDialog& dialog, int format)
    {
        dialog.findChild<QComboBox*>("1008")->setCurrentIndex(format);
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, &dialog.progress(), &QDialog::reject);
        guard.start(60000);
        dialog.findChild<QPushButton*>("1")->click();
        return guard.isActive();
    }

    ScopedPrompts prompts_;
    CDudidEvar control_;
};

bool isBmp(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(2) == "BM";
}

TEST_F(ExtractionEndToEnd, PicturesOfARangeAtTheirOwnAndAtAChosenSize)
{
    const QString source = QString::fromStdString(TestMedia::folder()) + "grey-10fps.avi";
    ASSERT_TRUE(FrameTestMedia::makeGreyVideo(source, 10, 4.0));
    const QString out = QString::fromStdString(TestMedia::scratchFolder());

    ImageExtractionDialog dialog;
    dialog.SetSource(source.toStdString(), control_);
    dialog.initDialog();
    ASSERT_TRUE(QTest::qWaitFor([&dialog] { return dialog.lengthKnown(); }));
    EXPECT_EQ(dialog.findChild<QLineEdit*>("1087")->text(), "4.0");
    prompts_->folders = {out};
    dialog.findChild<QPushButton*>("1061")->click();
    const auto extract = [&dialog](const char* start, const char* end, const char* rate) {
        dialog.findChild<QLineEdit*>("1086")->setText(start);
        dialog.findChild<QLineEdit*>("1087")->setText(end);
        dialog.findChild<QLineEdit*>("1085")->setText(rate);
        dialog.findChild<QPushButton*>("1083")->click();
    };
    extract("1", "3", "2");

    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_EQ(prompts_->shown[0].text, "Successfully Done.");
    QDir folder(out);
    EXPECT_EQ(folder.entryList(QDir::Files, QDir::Name),
              (QStringList{"grey-10fps_1.bmp", "grey-10fps_2.bmp", "grey-10fps_3.bmp", "grey-10fps_4.bmp"}));
    for (int n = 1; n <= 4; ++n) {
        const QString picture = folder.filePath(QString("grey-10fps_%1.bmp").arg(n));
        EXPECT_TRUE(isBmp(picture));
        const QImage image(picture);
        EXPECT_EQ(image.size(), QSize(64, 48));
        EXPECT_EQ(FrameTestMedia::frameNumberOf(image), 10 + 5 * (n - 1)) << n;
    }

    // The default chosen size, over the whole file at one a second.
    dialog.findChild<QCheckBox*>("1108")->click();
    for (const QString& name : folder.entryList(QDir::Files))
        folder.remove(name);
    extract("0", "4", "1");
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 4);
    const QImage sized(folder.filePath("grey-10fps_4.bmp"));
    EXPECT_EQ(sized.size(), QSize(352, 240));
    EXPECT_EQ(FrameTestMedia::frameNumberOf(sized), 30);
}

TEST_F(ExtractionEndToEnd, SoundTracksToWavAndWmaWithASilentSourceMarkedFailed)
{
    const std::string out = TestMedia::scratchFolder();
    AudioExtractionDialog dialog(control_);
    openSoundTool(dialog, out,
                  {QString::fromStdString(TestMedia::withSound()), QString::fromStdString(TestMedia::silentOddSize()),
                   QString::fromStdString(TestMedia::mpegWithMonoSound())});
    ASSERT_TRUE(runSoundTool(dialog, 1)) << "the run did not end";

    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_TRUE(prompts_->shown[0].text.contains("silent-odd.avi"));
    auto* list = dialog.findChild<QTreeWidget*>("1026");
    EXPECT_EQ(list->topLevelItem(0)->text(3), "WAV");
    EXPECT_EQ(list->topLevelItem(1)->text(3), "Failed");
    EXPECT_EQ(TestMedia::filesIn(out), (std::vector<std::string>{"mono.wav", "sound.wav"}));
    for (const char* name : {"sound.wav", "mono.wav"}) {
        const TestMedia::Info info = TestMedia::probe(out + name);
        ASSERT_TRUE(info.audio()) << name;
        EXPECT_EQ(info.format, "wav");
        EXPECT_EQ(info.audio()->codec, "pcm_s16le");
        EXPECT_EQ(info.audio()->channels, 2);
        EXPECT_EQ(info.audio()->sampleRate, 11025);
    }
    // Each file as long as its source's own sound (a picture that runs on adds no silence).
    EXPECT_NEAR(TestMedia::soundSeconds(out + "sound.wav"), TestMedia::soundSeconds(dialog.items()[0].sourcePath), 0.03);
    EXPECT_NEAR(TestMedia::soundSeconds(out + "mono.wav"), TestMedia::soundSeconds(dialog.items()[2].sourcePath), 0.03);

    // Again as WMA, the silent source removed.
    prompts_->shown.clear();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(1)).center());
    dialog.findChild<QPushButton*>("1058")->click();
    ASSERT_TRUE(runSoundTool(dialog, 0)) << "the run did not end";
    ASSERT_EQ(prompts_->shown.size(), 1u);
    EXPECT_EQ(prompts_->shown[0].text, "Successfully Done.");
    const TestMedia::Info wma = TestMedia::probe(out + "sound.wma");
    ASSERT_TRUE(wma.audio());
    EXPECT_EQ(wma.format, "asf");
    EXPECT_EQ(wma.audio()->codec, "wmav2");
    EXPECT_NEAR(TestMedia::soundSeconds(out + "mono.wma"), dialog.items()[1].length, 0.1);
}

// A FIFO at one path and, at the other, a link to a device: a device node of the test's own when
// it runs as root (a fault then replaces nothing of the system's), else /dev/null.
void makeNoRegularFiles(const std::string& fifo, const std::string& link)
{
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string device = "/dev/null";
    if (::geteuid() == 0) {
        device = fifo + ".null";
        ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    }
    ASSERT_EQ(::symlink(device.c_str(), link.c_str()), 0);
}

bool stillAsMade(const std::string& fifo, const std::string& link)
{
    struct stat pipe {}, linked {}, device {};
    return ::lstat(fifo.c_str(), &pipe) == 0 && S_ISFIFO(pipe.st_mode) && ::lstat(link.c_str(), &linked) == 0 &&
           S_ISLNK(linked.st_mode) && ::stat(link.c_str(), &device) == 0 && S_ISCHR(device.st_mode);
}

// Neither tool writes over a FIFO or a device: each such output is refused with its reason, and
// the other outputs are written.
TEST_F(ExtractionEndToEnd, OutputsThatAreNoRegularFilesAreRefusedAndLeftAsTheyWere)
{
    const std::string out = TestMedia::scratchFolder();
    const std::string source = TestMedia::folder() + "grey-10fps.avi";
    ASSERT_TRUE(FrameTestMedia::makeGreyVideo(QString::fromStdString(source), 10, 4.0));
    const std::string fifo = out + "grey-10fps_1.bmp";
    const std::string link = out + "grey-10fps_2.bmp";
    makeNoRegularFiles(fifo, link);

    ImageExtractionDialog pictures;
    pictures.SetSource(source, control_);
    pictures.initDialog();
    ASSERT_TRUE(QTest::qWaitFor([&pictures] { return pictures.lengthKnown(); }));
    prompts_->folders = {QString::fromStdString(out)};
    pictures.findChild<QPushButton*>("1061")->click();
    pictures.findChild<QLineEdit*>("1086")->setText("0");
    pictures.findChild<QLineEdit*>("1087")->setText("3");
    pictures.findChild<QLineEdit*>("1085")->setText("1");
    pictures.findChild<QPushButton*>("1083")->click();
    ASSERT_EQ(prompts_->shown.size(), 1u);
    const QString said = prompts_->shown[0].text;
    EXPECT_TRUE(said.startsWith("2 of 3 pictures could not be written:")) << said.toStdString();
    for (const std::string& special : {fifo, link})
        EXPECT_TRUE(said.contains(QString::fromStdString(special + " is not a regular file"))) << said.toStdString();
    EXPECT_TRUE(stillAsMade(fifo, link));
    EXPECT_TRUE(isBmp(QString::fromStdString(out + "grey-10fps_3.bmp")));

    const std::string soundOut = TestMedia::scratchFolder();
    const std::string soundFifo = soundOut + "sound.wav";
    const std::string soundLink = soundOut + "mono.wav";
    makeNoRegularFiles(soundFifo, soundLink);
    prompts_->shown.clear();
    AudioExtractionDialog sound(control_);
    openSoundTool(sound, soundOut,
                  {QString::fromStdString(TestMedia::withSound()), QString::fromStdString(TestMedia::mpegWithMonoSound())});
    ASSERT_TRUE(runSoundTool(sound, 1)) << "the run did not end";
    ASSERT_EQ(prompts_->shown.size(), 1u);
    const QString soundSaid = prompts_->shown[0].text;
    for (const std::string& special : {soundFifo, soundLink})
        EXPECT_TRUE(soundSaid.contains(QString::fromStdString(special + " is not a regular file")))
            << soundSaid.toStdString();
    auto* list = sound.findChild<QTreeWidget*>("1026");
    EXPECT_EQ(list->topLevelItem(0)->text(3), "Failed");
    EXPECT_EQ(list->topLevelItem(1)->text(3), "Failed");
    EXPECT_TRUE(stillAsMade(soundFifo, soundLink));
}

}  // namespace

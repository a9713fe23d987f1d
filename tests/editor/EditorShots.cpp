// Opens the task editor on each output kind, on an edited PAL DVD task, and on a refused output
// path, and saves a picture of each: a look at the layout without clicking through the program.
// Usage: marvane-editor-shots <folder> [--stay <kind>]
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <memory>

#include "ScriptedControl.h"
#include "editor/TaskEditorDialog.h"
#include "engine/CDudidEvar.h"
#include "platform/Prompts.h"
#include "skin/CSkinButton.h"
#include "tasks/TaskList.h"

namespace {

std::unique_ptr<ScriptedControl> sampleControl()
{
    ScriptedControl::Script script;
    script.videoCompressors = {"Uncompressed", "Xvid MPEG-4 Codec", "DivX 5.0 Codec", "Motion JPEG"};
    script.audioCompressors = {"PCM", "MPEG Layer-3", "A-law"};
    script.wmvProfiles = {"Video for Web Servers (56 Kbps)", "Audio for dial-up modems (28.8 Kbps)",
                          "Video for LAN, cable modem, or xDSL (100 to 768 Kbps)"};
    return std::make_unique<ScriptedControl>(script);
}

// Message boxes drawn as the program shows them and saved instead of waiting for a click.
class PicturePrompts : public IPrompts {
public:
    explicit PicturePrompts(QString file) : file_(std::move(file)) {}

    PromptAnswer messageBox(QWidget* owner, const QString& caption, const QString& text, PromptIcon,
                            PromptButtons) override
    {
        QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, owner);
        box.show();
        QApplication::processEvents();
        box.grab().save(file_);
        return PromptAnswer::Ok;
    }
    std::optional<QString> openFile(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<QString> saveFile(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<QString> pickFolder(QWidget*, const QString&) override { return std::nullopt; }
    void beep() override {}

private:
    QString file_;
};

void saveKinds(const QString& folder, int stayOn, QApplication& app, TaskEditorDialog& dialog)
{
    for (int kind = 1; kind <= 7; ++kind) {
        auto* button = dialog.findChild<CSkinButton*>(
            QString::number(OutputKinds::buttonId(static_cast<OutputKind>(kind))), Qt::FindDirectChildrenOnly);
        button->click();
        app.processEvents();
        dialog.grab().save(folder + QStringLiteral("/editor_kind%1.png").arg(kind));
        if (kind == stayOn)
            break;
    }
}

void saveEditedPalDvd(CDudidEvar& control, const QString& folder, QApplication& app)
{
    TaskList tasks;
    tasks.append({"/home/user/clips/holiday.mpg"}, "/home/user/discs/holiday_pal.mpg", "To DVD");
    TaskSettings& s = *tasks.at(0).settings;
    s.format = OutputFormat::DvdPal;
    s.width = 720;
    s.height = 576;
    s.mpegFrameRateIndex = 2;
    s.vbr = 1;
    s.vbrQuality = 80;
    s.videoBitRate = 5000;
    s.audioBitRate = 128;
    s.split = 1;
    s.splitSeconds = 600;
    TaskEditorDialog dialog(control, tasks);
    dialog.LoadTask(0);
    dialog.show();
    app.processEvents();
    dialog.grab().save(folder + QStringLiteral("/editor_edit_pal_dvd.png"));
}

void saveRefusedPath(CDudidEvar& control, const QString& folder, QApplication& app)
{
    auto previous = Prompts::install(std::make_unique<PicturePrompts>(folder + QStringLiteral("/path_refused.png")));
    TaskList tasks;
    TaskEditorDialog dialog(control, tasks);
    dialog.SetFirstSource("/home/user/clips/holiday.mpg");
    dialog.show();
    app.processEvents();
    dialog.findChild<QLineEdit*>(QStringLiteral("1060"))->setText(QStringLiteral("/sys/holiday_output.avi"));
    dialog.accept();
    Prompts::install(std::move(previous));
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);
    CDudidEvar control;
    control.Attach(sampleControl());
    TaskList tasks;
    TaskEditorDialog dialog(control, tasks);
    dialog.SetFirstSource("/home/user/clips/holiday.mpg");
    dialog.show();
    const int stayOn = argc > 3 && QString::fromLatin1(argv[2]) == QLatin1String("--stay") ? atoi(argv[3]) : 0;
    saveKinds(folder, stayOn, app, dialog);
    if (stayOn > 0)
        return app.exec();
    dialog.hide();
    saveEditedPalDvd(control, folder, app);
    saveRefusedPath(control, folder, app);
    return 0;
}

// Opens the task editor on each output kind and saves a picture of it: a look at the layout
// without clicking through the program. Usage: marvane-editor-shots <folder> [--stay <kind>]
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>
#include <memory>

#include "ScriptedControl.h"
#include "editor/TaskEditorDialog.h"
#include "engine/CDudidEvar.h"
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
    for (int kind = 1; kind <= 7; ++kind) {
        auto* button = dialog.findChild<CSkinButton*>(
            QString::number(OutputKinds::buttonId(static_cast<OutputKind>(kind))), Qt::FindDirectChildrenOnly);
        button->click();
        app.processEvents();
        dialog.grab().save(folder + QStringLiteral("/editor_kind%1.png").arg(kind));
        if (kind == stayOn)
            break;
    }
    if (stayOn > 0)
        return app.exec();
    return 0;
}

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <memory>

#include "dudidevar/DudidEvarControl.h"
#include "engine/CDudidEvar.h"
#include "tools/AudioExtractionDialog.h"
#include "tools/ImageExtractionDialog.h"

// Opens one of the tools with the real control, for looking at it by hand:
//   marvane-tools-showcase image VIDEO
//   marvane-tools-showcase audio
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s image VIDEO | audio\n", argv[0]);
        return 2;
    }
    CDudidEvar control;
    control.Attach(std::make_unique<DudidEvarControl>());
    if (QString(argv[1]) == "image" && argc > 2) {
        ImageExtractionDialog dialog;
        dialog.SetSource(argv[2], control);
        return dialog.exec();
    }
    AudioExtractionDialog dialog(control);
    QObject::connect(&control, &CDudidEvar::convertDone, &dialog, &AudioExtractionDialog::postItemDone);
    QObject::connect(&control, &CDudidEvar::convertProgress, &dialog, &AudioExtractionDialog::postItemProgress);
    QObject::connect(&control, &CDudidEvar::convertFailed, &dialog, &AudioExtractionDialog::postItemFailed);
    dialog.ResetItems();
    return dialog.exec();
}

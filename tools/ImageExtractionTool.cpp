// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/ImageExtractionTool.h"

#include "platform/FileFilter.h"
#include "platform/Prompts.h"
#include "tools/ImageExtractionDialog.h"

namespace ImageExtractionTool {

void run(QWidget* mainWindow, CDudidEvar& control)
{
    const auto source = Prompts::get().openFile(mainWindow, QString::fromLatin1(FileFilter::kSourceVideoFilter));
    if (!source || source->isEmpty())
        return;
    ImageExtractionDialog dialog(mainWindow);
    dialog.SetSource(source->toStdString(), control);
    dialog.exec();
}

}  // namespace ImageExtractionTool

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CDudidEvar;
class QWidget;

// The Tools command "Extract image from video file": a source is picked, then a fresh image
// extraction dialog runs modally with the main window's control.
namespace ImageExtractionTool {

void run(QWidget* mainWindow, CDudidEvar& control);

}  // namespace ImageExtractionTool

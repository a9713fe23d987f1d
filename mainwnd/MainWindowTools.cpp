// The Tools menu: still pictures and sound tracks taken from videos.
#include "mainwnd/MainWindow.h"

void MainWindow::OnExtractImage()
{
}

void MainWindow::OnExtractAudio()
{
}

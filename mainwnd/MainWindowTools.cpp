// SPDX-License-Identifier: GPL-3.0-or-later
// The Tools menu: still pictures and sound tracks taken from videos.
#include "mainwnd/MainWindow.h"

#include <array>

#include "tools/ImageExtractionTool.h"

namespace {

// Connections that last as long as the scope that made them.
class ScopedConnections {
public:
    explicit ScopedConnections(std::array<QMetaObject::Connection, 3> connections)
        : connections_(std::move(connections))
    {
    }
    ~ScopedConnections()
    {
        for (const QMetaObject::Connection& connection : connections_)
            QObject::disconnect(connection);
    }
    ScopedConnections(const ScopedConnections&) = delete;
    ScopedConnections& operator=(const ScopedConnections&) = delete;

private:
    std::array<QMetaObject::Connection, 3> connections_;
};

}  // namespace

void MainWindow::OnExtractImage()
{
    ImageExtractionTool::run(this, control);
}

void MainWindow::OnExtractAudio()
{
    extractionActive = true;
    execution.setExtractionActive(true);
    {
        // While the tool is open the control's events are the tool's; the execution leaves
        // them alone.
        const ScopedConnections toTool({
            connect(&control, &CDudidEvar::convertDone, &audioTool, &AudioExtractionDialog::postItemDone),
            connect(&control, &CDudidEvar::convertProgress, &audioTool, &AudioExtractionDialog::postItemProgress),
            connect(&control, &CDudidEvar::convertFailed, &audioTool, &AudioExtractionDialog::postItemFailed),
        });
        audioTool.ResetItems();
        audioTool.SetControl(control);
        audioTool.exec();
    }
    execution.setExtractionActive(false);
    extractionActive = false;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QWidget;

// Makes a dialog take video files dragged from a file manager: while it is not busy, the videos
// of a drop are handed on in the order dropped; other files are left out.
class VideoDropTarget : public QObject {
    Q_OBJECT
public:
    using Busy = std::function<bool()>;
    using Take = std::function<void(const QStringList& videos)>;

    // Lives as long as the dialog, which owns it.
    VideoDropTarget(QWidget* dialog, Busy busy, Take take);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Busy busy_;
    Take take_;
};

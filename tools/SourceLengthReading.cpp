// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/SourceLengthReading.h"

#include "engine/CDudidEvar.h"
#include "engine/ReadingMailbox.h"

SourceLengthReading::SourceLengthReading(CDudidEvar& control, QObject* parent)
    : QObject(parent), control_(control), mailbox_(std::make_shared<ReadingMailbox>(this))
{
}

SourceLengthReading::~SourceLengthReading()
{
    mailbox_->close();
}

void SourceLengthReading::start(const std::string& path)
{
    const int reading = mailbox_->startReading();
    control_.RunOffThread([mailbox = mailbox_, control = &control_, reading, path, self = this] {
        if (!mailbox->wants(reading))
            return;
        const double seconds = control->GetDuration(path);
        mailbox->deliver(reading, [self, seconds] { emit self->measured(seconds); });
    });
}

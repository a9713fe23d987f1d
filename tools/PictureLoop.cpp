#include "tools/PictureLoop.h"

#include "tasks/OutputNaming.h"
#include "tools/ProgressPercent.h"

PictureLoop::PictureLoop(std::string namePrefix, double startTime, double span, double interval)
    : namePrefix_(std::move(namePrefix)), startTime_(startTime), span_(span), interval_(interval)
{
}

bool PictureLoop::hasNext() const
{
    // A span that is not a positive number, or a step that cannot move, takes no picture.
    return span_ > 0.0 && interval_ > 0.0 && elapsed_ < span_;
}

std::string PictureLoop::path() const
{
    return OutputNaming::picturePath(namePrefix_, number_);
}

void PictureLoop::advance()
{
    elapsed_ += interval_;
    ++number_;
}

int PictureLoop::percent() const
{
    return ProgressPercent::ofSpan(elapsed_, span_);
}

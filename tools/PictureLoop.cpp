// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/PictureLoop.h"

#include <cmath>

#include "tasks/OutputNaming.h"
#include "tools/ProgressPercent.h"

namespace {
// Span over interval within this of a whole number is that number: 10 s at 0.2 s is 50 steps.
constexpr double kStepSlack = 1e-9;
// More pictures than any file name number holds are never taken.
constexpr double kMostPictures = 2147483647.0;
}  // namespace

PictureLoop::PictureLoop(std::string namePrefix, double startTime, double span, double interval)
    : namePrefix_(std::move(namePrefix)), startTime_(startTime), span_(span), interval_(interval)
{
    // A span that is not a positive number, or a step that cannot move, takes no picture.
    if (span_ > 0.0 && interval_ > 0.0)
        count_ = (long long)(std::min(kMostPictures, std::ceil(span_ / interval_ - kStepSlack)));
}

bool PictureLoop::hasNext() const
{
    return number_ <= count_;
}

std::string PictureLoop::path() const
{
    return OutputNaming::picturePath(namePrefix_, number_);
}

void PictureLoop::advance()
{
    ++number_;
}

int PictureLoop::percent() const
{
    return ProgressPercent::ofSpan(elapsed(), span_);
}

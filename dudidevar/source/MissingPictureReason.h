// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

// Why a video file shows no picture at a time, in words for the user: it cannot be read, it has
// no picture at all, the time lies past the end of its picture, or the picture there is damaged.
namespace MissingPictureReason {

std::string reason(const std::string& path, double seconds);

}  // namespace MissingPictureReason

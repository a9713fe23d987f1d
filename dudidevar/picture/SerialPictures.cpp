// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/picture/SerialPictures.h"

#include "dudidevar/picture/PictureTrack.h"

ff::Frame SerialPictures::next(std::string* error)
{
    PictureFitter::Due due;
    if (!track_.nextDue(&due, error))
        return nullptr;
    return track_.fitter().fit(due, error);
}

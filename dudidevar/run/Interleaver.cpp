// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/run/Interleaver.h"

#include <algorithm>

#include "dudidevar/picture/PictureSupply.h"
#include "dudidevar/run/OutputWriter.h"
#include "dudidevar/sound/SoundSupply.h"

Interleaver::Interleaver(OutputWriter& writer, Pictures pictures, SoundSupply* sound)
    : writer_(writer), pictures_(pictures), sound_(sound)
{
}

bool Interleaver::picturesFinished() const
{
    return !pictures_.supply || picturesWritten_ >= pictures_.count;
}

bool Interleaver::soundFinished() const
{
    return !sound_ || soundEnded_;
}

double Interleaver::pictureSecondsDone() const
{
    return picturesWritten_ * av_q2d(av_inv_q(pictures_.rate));
}

double Interleaver::secondsDone() const
{
    if (pictures_.supply && sound_)
        return std::min(pictureSecondsDone(), soundSeconds_);
    return pictures_.supply ? pictureSecondsDone() : soundSeconds_;
}

bool Interleaver::step(std::string* error)
{
    const bool pictureDue =
        !picturesFinished() && (soundFinished() || pictureSecondsDone() <= soundSeconds_);
    return pictureDue ? writePicture(error) : writeSound(error);
}

bool Interleaver::writePicture(std::string* error)
{
    ff::Frame frame = pictures_.supply->next(error);
    if (!frame || !writer_.write(writer_.picture(), frame.get(), error))
        return false;
    ++picturesWritten_;
    return true;
}

bool Interleaver::writeSound(std::string* error)
{
    ff::Packet packet = sound_->next(error);
    if (!packet) {
        soundEnded_ = error->empty();
        return soundEnded_;
    }
    if (packet->pts != AV_NOPTS_VALUE) {
        const AVRational base = writer_.sound().streamTimeBase();
        soundSeconds_ = std::max(soundSeconds_, (packet->pts + packet->duration) * av_q2d(base));
    }
    return writer_.writePacket(packet.get(), error);
}

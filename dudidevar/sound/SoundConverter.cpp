// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/sound/SoundConverter.h"

#include <algorithm>
#include <utility>

extern "C" {
#include <libavutil/samplefmt.h>
}

namespace {

// The layout a frame's samples are in; frames that only say how many channels they have get
// the usual layout for that count.
bool layoutOf(const AVFrame& frame, AVChannelLayout* layout)
{
    if (frame.ch_layout.order != AV_CHANNEL_ORDER_UNSPEC && av_channel_layout_check(&frame.ch_layout))
        return av_channel_layout_copy(layout, &frame.ch_layout) >= 0;
    av_channel_layout_default(layout, frame.ch_layout.nb_channels);
    return layout->nb_channels > 0;
}

}  // namespace

SoundConverter::~SoundConverter()
{
    av_channel_layout_uninit(&outLayout_);
    av_channel_layout_uninit(&inLayout_);
}

bool SoundConverter::setOutput(const AVChannelLayout& layout, AVSampleFormat format, int rate)
{
    swr_.reset();
    av_channel_layout_uninit(&outLayout_);
    outFormat_ = format;
    outRate_ = rate;
    out_ = ff::makeFrame();
    held_ = ff::makeFrame();
    return av_channel_layout_copy(&outLayout_, &layout) >= 0 && out_ && held_;
}

std::int64_t SoundConverter::delay() const
{
    return swr_ ? swr_get_delay(swr_.get(), outRate_) : 0;
}

bool SoundConverter::inputChanged(const AVFrame& frame, const AVChannelLayout& layout) const
{
    return !swr_ || inRate_ != frame.sample_rate || inFormat_ != frame.format ||
           av_channel_layout_compare(&inLayout_, &layout) != 0;
}

bool SoundConverter::rebuild(const AVFrame& frame, AVChannelLayout& layout, std::string* error)
{
    SwrContext* raw = nullptr;
    int rc = swr_alloc_set_opts2(&raw, &outLayout_, outFormat_, outRate_, &layout, AVSampleFormat(frame.format),
                                 frame.sample_rate, 0, nullptr);
    swr_.reset(raw);
    if (rc >= 0)
        rc = swr_init(swr_.get());
    if (rc < 0) {
        swr_.reset();
        *error = "its sound (" + std::to_string(frame.ch_layout.nb_channels) + " channels at " +
                 std::to_string(frame.sample_rate) + " Hz) cannot be converted";
        return false;
    }
    av_channel_layout_uninit(&inLayout_);
    inLayout_ = layout;
    layout = AVChannelLayout{};
    inRate_ = frame.sample_rate;
    inFormat_ = frame.format;
    return true;
}

bool SoundConverter::allocate(ff::Frame& target, int capacity)
{
    av_frame_unref(target.get());
    target->nb_samples = std::max(capacity, 1);
    target->format = outFormat_;
    target->sample_rate = outRate_;
    return av_channel_layout_copy(&target->ch_layout, &outLayout_) >= 0 && av_frame_get_buffer(target.get(), 0) >= 0;
}

// Converts into out_ from sample `offset` on; the number of samples made, or an error code.
int SoundConverter::run(const uint8_t* const* input, int count, int offset)
{
    uint8_t* shifted[AV_NUM_DATA_POINTERS] = {};
    const int bytes = av_get_bytes_per_sample(outFormat_);
    const bool planar = av_sample_fmt_is_planar(outFormat_);
    const int planes = planar ? outLayout_.nb_channels : 1;
    for (int p = 0; p < planes && p < AV_NUM_DATA_POINTERS; ++p)
        shifted[p] = out_->extended_data[p] + std::size_t(offset) * bytes * (planar ? 1 : outLayout_.nb_channels);
    return swr_convert(swr_.get(), shifted, out_->nb_samples - offset, const_cast<const uint8_t**>(input), count);
}

const AVFrame* SoundConverter::convert(const AVFrame& frame, std::string* error)
{
    AVChannelLayout layout{};
    if (frame.sample_rate <= 0 || !layoutOf(frame, &layout)) {
        av_channel_layout_uninit(&layout);
        *error = "its sound has no sample rate or channels";
        return nullptr;
    }
    int held = 0;
    if (inputChanged(frame, layout)) {
        if (swr_) {
            const AVFrame* tail = drain(error);
            if (!error->empty()) {
                av_channel_layout_uninit(&layout);
                return nullptr;
            }
            if (tail) {
                held = tail->nb_samples;
                std::swap(out_, held_);
            }
        }
        const bool made = rebuild(frame, layout, error);
        av_channel_layout_uninit(&layout);
        if (!made)
            return nullptr;
    } else {
        av_channel_layout_uninit(&layout);
    }
    const int capacity = held + swr_get_out_samples(swr_.get(), frame.nb_samples);
    if (!allocate(out_, capacity)) {
        *error = "out of memory";
        return nullptr;
    }
    if (held > 0)
        av_samples_copy(out_->extended_data, held_->extended_data, 0, 0, held, outLayout_.nb_channels, outFormat_);
    const int made = run(frame.extended_data, frame.nb_samples, held);
    if (made < 0) {
        *error = "its sound cannot be converted";
        return nullptr;
    }
    out_->nb_samples = held + made;
    return out_.get();
}

const AVFrame* SoundConverter::drain(std::string* error)
{
    error->clear();
    if (!swr_)
        return nullptr;
    const int capacity = swr_get_out_samples(swr_.get(), 0);
    if (capacity <= 0)
        return nullptr;
    if (!allocate(out_, capacity)) {
        *error = "out of memory";
        return nullptr;
    }
    const int made = run(nullptr, 0, 0);
    if (made < 0) {
        *error = "its sound cannot be converted";
        return nullptr;
    }
    if (made == 0)
        return nullptr;
    out_->nb_samples = made;
    return out_.get();
}

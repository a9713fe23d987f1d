// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/source/ChosenStreams.h"

#include "dudidevar/base/RunNotices.h"
#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/source/StreamPicker.h"

namespace {

const char* trackWord(AVMediaType type)
{
    return type == AVMEDIA_TYPE_AUDIO ? "sound" : type == AVMEDIA_TYPE_SUBTITLE ? "subtitle" : "picture";
}

}  // namespace

bool ChosenStreams::resolve(const std::vector<Clip>& clips, AVMediaType type, const TrackChoice& choice,
                            const std::map<std::string, AVFormatContext*>& probed, std::string* error)
{
    chosen_.clear();
    notices_.clear();
    if (choice.by == TrackChoice::By::Default)
        return true;
    std::vector<std::string> lacking;
    std::string tracksOfLacking;
    for (const Clip& clip : clips) {
        if (chosen_.count(clip.path))
            continue;
        ff::InputContext own;
        AVFormatContext* input = nullptr;
        if (const auto shared = probed.find(clip.path); shared != probed.end()) {
            input = shared->second;
        } else {
            own = MediaProbe::open(clip.path, error);
            if (!own)
                return false;
            input = own.get();
        }
        const int index = StreamPicker::find(input, type, choice);
        chosen_[clip.path] = index;
        if (index < 0) {
            lacking.push_back(clip.path);
            tracksOfLacking = StreamPicker::tracksInWords(input, type);
        }
    }
    if (!lacking.empty() && lacking.size() == chosen_.size()) {
        *error = lacking.front() + " has no " + trackWord(type) + " " + choice.words() + "; its " + trackWord(type) +
                 " tracks: " + tracksOfLacking;
        return false;
    }
    for (const std::string& path : lacking) {
        const std::string instead = type == AVMEDIA_TYPE_SUBTITLE
                                        ? std::string("it shows no subtitles")
                                        : std::string("its default ") + trackWord(type) + " track is used";
        notices_.push_back(path + " has no " + trackWord(type) + " " + choice.words() + "; " + instead);
        RunNotices::say(notices_.back());
    }
    return true;
}

int ChosenStreams::indexFor(const std::string& path) const
{
    const auto found = chosen_.find(path);
    return found == chosen_.end() ? -1 : found->second;
}

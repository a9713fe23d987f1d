// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/subtitles/SubtitleSources.h"

#include "dudidevar/base/RunNotices.h"
#include "dudidevar/source/ChosenStreams.h"
#include "dudidevar/source/MediaProbe.h"
#include "dudidevar/source/StreamPicker.h"
#include "dudidevar/subtitles/SubtitleReader.h"

namespace {

int firstForcedTrack(const AVFormatContext* input)
{
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* s = input->streams[i];
        if (s->codecpar->codec_type == AVMEDIA_TYPE_SUBTITLE && (s->disposition & AV_DISPOSITION_FORCED))
            return int(i);
    }
    return -1;
}

// The size of a file's picture as stored: picture subtitles that give no canvas are placed on it.
void pictureSize(AVFormatContext* input, int* width, int* height)
{
    const int video = MediaProbe::bestStream(input, AVMEDIA_TYPE_VIDEO);
    *width = video >= 0 ? input->streams[video]->codecpar->width : 0;
    *height = video >= 0 ? input->streams[video]->codecpar->height : 0;
}

// What the track is known by before it is read.
void describeTrack(const AVFormatContext* input, SubtitleSources::Layer* layer)
{
    if (layer->index < 0)
        return;
    const AVStream* s = input->streams[layer->index];
    const AVCodecDescriptor* kind = avcodec_descriptor_get(s->codecpar->codec_id);
    layer->text = !kind || (kind->props & AV_CODEC_PROP_TEXT_SUB);
    layer->language = StreamPicker::languageOf(s);
}

// The language a subtitle file's name gives before its suffix: "film.en.srt", "film.pt-br.vtt".
std::string languageInName(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    const std::size_t last = name.rfind('.');
    const std::size_t before = last == std::string::npos || last == 0 ? std::string::npos : name.rfind('.', last - 1);
    if (before == std::string::npos)
        return {};
    TrackChoice language;
    const std::string code = name.substr(before + 1, last - before - 1);
    return TrackChoice::parse(code, &language) && language.by == TrackChoice::By::Language ? language.language
                                                                                            : std::string();
}

}  // namespace

bool SubtitleSources::open(const SubtitleChoice& choice, const std::vector<Clip>& clips,
                           const std::map<std::string, AVFormatContext*>& probed, std::string* error)
{
    layers_.clear();
    spans_.clear();
    if (choice.from == SubtitleChoice::From::None || clips.empty())
        return true;
    if (!readLayers(choice, clips, probed, error))
        return false;
    double offset = 0.0;
    for (const Clip& clip : clips) {
        const auto found = layers_.find(clip.path);
        spans_.push_back({clip, offset, found == layers_.end() ? nullptr : found->second.get()});
        offset += clip.length();
    }
    return true;
}

bool SubtitleSources::readLayers(const SubtitleChoice& choice, const std::vector<Clip>& clips,
                                 const std::map<std::string, AVFormatContext*>& probed, std::string* error)
{
    ChosenStreams chosen;
    if (choice.from == SubtitleChoice::From::Track &&
        !chosen.resolve(clips, AVMEDIA_TYPE_SUBTITLE, choice.track, probed, error))
        return false;
    for (const Clip& clip : clips) {
        if (layers_.count(clip.path) || (choice.from == SubtitleChoice::From::File && !layers_.empty()))
            continue;
        ff::InputContext input = MediaProbe::open(clip.path, error);
        if (!input)
            return false;
        auto layer = std::make_unique<Layer>();
        layer->path = clip.path;
        pictureSize(input.get(), &layer->pictureWidth, &layer->pictureHeight);
        if (choice.from == SubtitleChoice::From::File) {
            if (!SubtitleReader::readFile(choice.file, &layer->subtitles, error))
                return false;
            layer->loaded = true;
            layer->text = layer->subtitles.text;
            layer->language = languageInName(choice.file);
        } else if (choice.from == SubtitleChoice::From::Forced) {
            chooseForced(input.get(), layer.get());
        } else {
            layer->index = chosen.indexFor(clip.path);
        }
        describeTrack(input.get(), layer.get());
        if (layer->loaded || layer->index >= 0)
            layers_[clip.path] = std::move(layer);
        else if (choice.from == SubtitleChoice::From::Forced)
            RunNotices::say(clip.path + " has no subtitle tracks; it shows no subtitles");
    }
    return true;
}

// The track marked forced, else only the subtitles marked forced of the main subtitle track.
void SubtitleSources::chooseForced(AVFormatContext* input, Layer* layer)
{
    const int forced = firstForcedTrack(input);
    layer->index = forced >= 0 ? forced : MediaProbe::bestStream(input, AVMEDIA_TYPE_SUBTITLE);
    layer->forcedOnly = forced < 0;
}

const SubtitleSources::Span* SubtitleSources::spanAt(double seconds) const
{
    const Span* span = nullptr;
    for (const Span& s : spans_) {
        if (seconds + 1e-6 >= s.offset)
            span = &s;
    }
    return span;
}

bool SubtitleSources::load(Layer& layer, std::string* error)
{
    if (layer.loaded)
        return true;
    layer.loaded = true;
    if (!SubtitleReader::readTrack(layer.path, layer.index, layer.forcedOnly, &layer.subtitles, error))
        return false;
    if (layer.forcedOnly && layer.subtitles.events.empty())
        RunNotices::say(layer.path + " has no forced subtitles; it shows none");
    return true;
}

// SPDX-License-Identifier: GPL-3.0-or-later
#include "dudidevar/source/StreamPicker.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "dudidevar/source/MediaProbe.h"

namespace StreamPicker {

namespace {

// Three-letter codes (both the bibliographic and the terminological one where they differ) of
// the languages whose two-letter code a user is most likely to type.
struct LanguageCodes {
    const char* two;
    const char* three;
    const char* other;
};
constexpr LanguageCodes kLanguages[] = {
    {"en", "eng", ""},    {"ja", "jpn", ""},    {"fr", "fra", "fre"}, {"de", "deu", "ger"}, {"es", "spa", ""},
    {"it", "ita", ""},    {"pt", "por", ""},    {"ru", "rus", ""},    {"zh", "zho", "chi"}, {"ko", "kor", ""},
    {"nl", "nld", "dut"}, {"sv", "swe", ""},    {"da", "dan", ""},    {"no", "nor", ""},    {"fi", "fin", ""},
    {"pl", "pol", ""},    {"cs", "ces", "cze"}, {"el", "ell", "gre"}, {"tr", "tur", ""},    {"ar", "ara", ""},
    {"he", "heb", ""},    {"hi", "hin", ""},    {"hu", "hun", ""},    {"uk", "ukr", ""},    {"ro", "ron", "rum"},
};

std::string lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

// The two-letter code of a language code where it has one, else the code itself.
std::string shortCode(const std::string& code)
{
    if (code.empty())
        return code;
    for (const LanguageCodes& l : kLanguages) {
        if (code == l.two || code == l.three || code == l.other)
            return l.two;
    }
    return code;
}

bool counts(const AVStream* stream, AVMediaType type)
{
    return stream->codecpar->codec_type == type && !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC);
}

std::vector<int> tracksOf(const AVFormatContext* input, AVMediaType type)
{
    std::vector<int> tracks;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        if (counts(input->streams[i], type))
            tracks.push_back(int(i));
    }
    return tracks;
}

std::string metadataOf(const AVStream* stream, const char* key)
{
    const AVDictionaryEntry* tag = av_dict_get(stream->metadata, key, nullptr, 0);
    return tag ? std::string(tag->value) : std::string();
}

}  // namespace

std::vector<SourceTrack> tracks(const AVFormatContext* input)
{
    const std::pair<AVMediaType, SourceTrack::Kind> kinds[] = {{AVMEDIA_TYPE_VIDEO, SourceTrack::Kind::Picture},
                                                               {AVMEDIA_TYPE_AUDIO, SourceTrack::Kind::Sound},
                                                               {AVMEDIA_TYPE_SUBTITLE, SourceTrack::Kind::Subtitles}};
    int counted[3] = {0, 0, 0};
    std::vector<SourceTrack> found;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* s = input->streams[i];
        for (int k = 0; k < 3; ++k) {
            if (!counts(s, kinds[k].first))
                continue;
            SourceTrack track;
            track.kind = kinds[k].second;
            track.number = ++counted[k];
            track.language = languageOf(s);
            track.title = metadataOf(s, "title");
            track.codec = avcodec_get_name(s->codecpar->codec_id);
            track.isDefault = s->disposition & AV_DISPOSITION_DEFAULT;
            track.forced = s->disposition & AV_DISPOSITION_FORCED;
            found.push_back(track);
        }
    }
    return found;
}

std::string languageOf(const AVStream* stream)
{
    const AVDictionaryEntry* tag = av_dict_get(stream->metadata, "language", nullptr, 0);
    const std::string language = tag ? lower(tag->value) : std::string();
    return language == "und" ? std::string() : language;
}

std::string threeLetterCode(const std::string& language)
{
    const std::string code = lower(language.substr(0, language.find('-')));
    if (code.empty())
        return {};
    for (const LanguageCodes& l : kLanguages) {
        if (code == l.two || code == l.three || code == l.other)
            return l.three;
    }
    return code.size() == 3 ? code : std::string();
}

bool sameLanguage(const std::string& tag, const std::string& asked)
{
    const auto base = [](const std::string& code) { return shortCode(lower(code.substr(0, code.find('-')))); };
    return !tag.empty() && !asked.empty() && base(tag) == base(asked);
}

int find(AVFormatContext* input, AVMediaType type, const TrackChoice& choice)
{
    const std::vector<int> tracks = tracksOf(input, type);
    switch (choice.by) {
    case TrackChoice::By::Default:
        return MediaProbe::bestStream(input, type);
    case TrackChoice::By::Number:
        return choice.number >= 1 && std::size_t(choice.number) <= tracks.size() ? tracks[std::size_t(choice.number - 1)]
                                                                                : -1;
    case TrackChoice::By::Language:
        break;
    }
    // The default-marked track of the language first, else its first.
    int first = -1;
    for (int index : tracks) {
        const AVStream* s = input->streams[index];
        if (!sameLanguage(languageOf(s), choice.language))
            continue;
        if (s->disposition & AV_DISPOSITION_DEFAULT)
            return index;
        if (first < 0)
            first = index;
    }
    return first;
}

std::string tracksInWords(const AVFormatContext* input, AVMediaType type)
{
    const std::vector<int> tracks = tracksOf(input, type);
    std::string words;
    for (std::size_t n = 0; n < tracks.size(); ++n) {
        const AVStream* s = input->streams[tracks[n]];
        words += (n ? ", " : "") + std::to_string(n + 1);
        const std::string language = languageOf(s);
        words += " " + (language.empty() ? std::string("no language") : language);
        const std::string title = metadataOf(s, "title");
        if (!title.empty())
            words += " \"" + title + "\"";
        if (s->disposition & AV_DISPOSITION_DEFAULT)
            words += " (default)";
        if (s->disposition & AV_DISPOSITION_FORCED)
            words += " (forced)";
    }
    return words.empty() ? "none" : words;
}

}  // namespace StreamPicker

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "dudidevar/base/FfmpegOwners.h"
#include "dudidevar/picture/PictureOverlay.h"
#include "dudidevar/plan/OutputPlan.h"
#include "dudidevar/source/Clip.h"
#include "dudidevar/subtitles/AssOwners.h"
#include "dudidevar/subtitles/SubtitleChoice.h"
#include "dudidevar/subtitles/SubtitleEvents.h"
#include "dudidevar/subtitles/SubtitleSources.h"

// The chosen subtitles of a picture track's sources, drawn over each output frame inside the
// fitted picture: text with libass (in the script's own styles; a SubRip or WebVTT line white
// with a dark outline, sized to the picture's height), pictures stretched with the picture.
// A source's track is read when the run first draws it, on the thread that draws.
class BurnedSubtitles : public PictureOverlay {
public:
    // Reads the subtitles the choice names; false with the reason when a source lacks them or
    // a file cannot be read. probed: the picture track's opened files, by path.
    bool open(const SubtitleChoice& choice, const std::vector<Clip>& clips,
              const std::map<std::string, AVFormatContext*>& probed, const PicturePlan& plan, std::string* error);
    bool draw(AVFrame* frame, double seconds, const PicturePlacement& picture, std::string* error) override;

private:
    using Layer = SubtitleSources::Layer;
    // A text layer as libass holds it.
    struct Script {
        ass::Track track;
        std::vector<bool> moving;  // whether an event changes while it is shown
    };
    // What the renderer drew last; its images stay valid until it is asked again.
    struct Rendered {
        const Layer* layer = nullptr;
        std::vector<std::size_t> events;
        int width = 0;
        int height = 0;
        const ASS_Image* images = nullptr;
    };

    bool startRenderer(std::string* error);
    bool makeScript(const Layer& layer, std::string* error);
    const ASS_Image* textImages(const Layer& layer, std::int64_t ms, const PicturePlacement& picture);
    bool drawText(const Layer& layer, AVFrame* frame, double time, const PicturePlacement& picture, std::string* error);
    bool drawPictures(const Layer& layer, AVFrame* frame, double time, const PicturePlacement& picture,
                      std::string* error);

    SubtitleSources sources_;
    std::map<const Layer*, Script> scripts_;
    double sampleAspect_ = 1.0;
    Rendered rendered_;
    ass::Library library_;
    ass::Renderer renderer_;
};

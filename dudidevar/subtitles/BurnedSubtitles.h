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

// The chosen subtitles of a picture track's sources, drawn over each output frame inside the
// fitted picture: text with libass (in the script's own styles; a SubRip or WebVTT line white
// with a dark outline, sized to the picture's height), pictures stretched with the picture.
// Each span shows the subtitles of its own source at the source's time, so joins and split parts
// keep them where they belong. A subtitle file goes with the first source. A file is read when
// the run is prepared; a source's track, which takes reading the whole source, when the run
// first draws it, on the thread that draws.
class BurnedSubtitles : public PictureOverlay {
public:
    // Reads the subtitles the choice names; false with the reason when a source lacks them or
    // a file cannot be read. probed: the picture track's opened files, by path.
    bool open(const SubtitleChoice& choice, const std::vector<Clip>& clips,
              const std::map<std::string, AVFormatContext*>& probed, const PicturePlan& plan, std::string* error);
    bool draw(AVFrame* frame, double seconds, const PicturePlacement& picture, std::string* error) override;

private:
    struct Layer {
        std::string path;
        int index = -1;  // the source's subtitle track, still to be read
        bool forcedOnly = false;
        bool loaded = false;
        SubtitleEvents subtitles;
        ass::Track track;  // text only
        std::vector<bool> moving;  // text: whether an event changes while it is shown
        int pictureWidth = 0;  // the source picture's size: the canvas of picture subtitles
        int pictureHeight = 0;  // that give none
    };
    // What the renderer drew last; its images stay valid until it is asked again.
    struct Rendered {
        const Layer* layer = nullptr;
        std::vector<std::size_t> events;
        int width = 0;
        int height = 0;
        const ASS_Image* images = nullptr;
    };
    struct Span {
        Clip clip;
        double offset = 0.0;
        Layer* layer = nullptr;  // null: no subtitles for this source
    };

    bool readLayers(const SubtitleChoice& choice, const std::vector<Clip>& clips,
                    const std::map<std::string, AVFormatContext*>& probed, std::string* error);
    void chooseForced(AVFormatContext* input, Layer* layer) const;
    bool load(Layer& layer, std::string* error);
    bool startRenderer(std::string* error);
    bool makeTrack(Layer& layer, std::string* error);
    const ASS_Image* textImages(const Layer& layer, std::int64_t ms, const PicturePlacement& picture);
    bool drawText(Layer& layer, AVFrame* frame, double time, const PicturePlacement& picture, std::string* error);
    bool drawPictures(const Layer& layer, AVFrame* frame, double time, const PicturePlacement& picture,
                      std::string* error);

    std::map<std::string, std::unique_ptr<Layer>> layers_;
    std::vector<Span> spans_;
    double sampleAspect_ = 1.0;
    Rendered rendered_;
    ass::Library library_;
    ass::Renderer renderer_;
};

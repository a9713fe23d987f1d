// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

extern "C" {
#include <ass/ass.h>
}

// Owners of libass's objects.
namespace ass {

struct LibraryFree {
    void operator()(ASS_Library* p) const { ass_library_done(p); }
};
struct RendererFree {
    void operator()(ASS_Renderer* p) const { ass_renderer_done(p); }
};
struct TrackFree {
    void operator()(ASS_Track* p) const { ass_free_track(p); }
};

using Library = std::unique_ptr<ASS_Library, LibraryFree>;
using Renderer = std::unique_ptr<ASS_Renderer, RendererFree>;
using Track = std::unique_ptr<ASS_Track, TrackFree>;

}  // namespace ass

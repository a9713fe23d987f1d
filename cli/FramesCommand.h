#pragma once

#include <string>
#include <vector>

class CDudidEvar;

// marvane-cli frames: still pictures of a video at a rate, written as "<name>_<n>.bmp" files,
// taken as the image extraction tool takes them.
namespace FramesCommand {

inline constexpr const char* kUsage =
    "frames [--from S] [--to S] [--per-second N] [--size WxH|--original-size] -o FOLDER SOURCE";

inline constexpr int kFewestPerSecond = 1;
inline constexpr int kMostPerSecond = 25;

// The times of the pictures within a span: start + t for t = 0, 1/N, 2/N, … (added up step by
// step) while t < span. Nothing when the span is not positive.
std::vector<double> pictureTimes(double start, double span, int perSecond);

int run(CDudidEvar& control, const std::vector<std::string>& args);

}  // namespace FramesCommand

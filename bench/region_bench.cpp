// SPDX-License-Identifier: GPL-3.0-or-later
// Times the window region of the real skin (bitmap 129, white transparent) and prints the
// figures: marvane-region-bench [rounds]
#include <QImage>
#include <QRegion>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "res/Resources.h"
#include "skin/BuildBitmapRegion.h"

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const QImage skin = Resources::bitmap(129);
    if (skin.isNull()) {
        std::fprintf(stderr, "region-bench: no skin bitmap\n");
        return 1;
    }
    int runs = 0;
    ScanBitmapRuns(skin, WhiteKey, KeyTransparent, [&runs](const RegionBatch& batch) { runs += batch.count; });

    std::vector<double> millis;
    qint64 area = 0;
    for (int i = 0; i < rounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const auto region = BuildBitmapRegion(skin, WhiteKey, KeyTransparent);
        const auto end = std::chrono::steady_clock::now();
        if (!region) {
            std::fprintf(stderr, "region-bench: no region\n");
            return 1;
        }
        millis.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        if (i == 0)
            for (const QRect& r : *region)
                area += qint64(r.width()) * r.height();
    }
    std::sort(millis.begin(), millis.end());
    std::printf("skin %dx%d: %d runs, %lld window pixels of %lld\n", skin.width(), skin.height(), runs,
                static_cast<long long>(area), static_cast<long long>(skin.width()) * skin.height());
    std::printf("region of the skin over %d rounds: min %.3f ms, median %.3f ms, max %.3f ms\n", rounds,
                millis.front(), millis[millis.size() / 2], millis.back());
    return 0;
}

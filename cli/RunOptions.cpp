// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RunOptions.h"

#include <charconv>

namespace {

// A whole number from 1, written in full.
std::optional<std::size_t> countFrom(const std::string& text)
{
    std::size_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, fault] = std::from_chars(text.data(), end, value);
    if (fault != std::errc() || stop != end || value == 0)
        return std::nullopt;
    return value;
}

bool parseShard(const std::string& text, std::size_t* shard, std::size_t* shards)
{
    const auto slash = text.find('/');
    if (slash == std::string::npos)
        return false;
    const auto i = countFrom(text.substr(0, slash));
    const auto n = countFrom(text.substr(slash + 1));
    if (!i || !n || *i > *n)
        return false;
    *shard = *i;
    *shards = *n;
    return true;
}

}  // namespace

bool RunOptions::parse(const std::vector<std::string>& args, std::string* error)
{
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (optionsEnded || arg.empty() || arg[0] != '-') {
            if (!list.empty())
                return *error = "one task list only: " + arg, false;
            list = arg;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--keep-going") {
            keepGoing = true;
        } else if (arg == "--update") {
            update = true;
        } else if (arg == "--task") {
            task = hasValue ? countFrom(args[++i]) : std::nullopt;
            if (!task)
                return *error = "--task needs a task number from 1", false;
        } else if (arg == "--shard") {
            if (!hasValue || !parseShard(args[++i], &shard, &shards))
                return *error = "--shard needs I/N with 1 <= I <= N", false;
        } else {
            return *error = "unknown option " + arg, false;
        }
    }
    if (list.empty())
        return *error = "no task list given", false;
    if (task && shards > 0)
        return *error = "--task and --shard exclude each other", false;
    return true;
}

bool RunOptions::select(std::size_t count, std::vector<std::size_t>* chosen, std::string* error) const
{
    chosen->clear();
    if (task) {
        if (*task > count)
            return *error = "task " + std::to_string(*task) + " is not in the list (it holds " +
                            std::to_string(count) + ")",
                   false;
        chosen->push_back(*task - 1);
        return true;
    }
    const std::size_t step = shards > 0 ? shards : 1;
    for (std::size_t i = shards > 0 ? shard - 1 : 0; i < count; i += step)
        chosen->push_back(i);
    return true;
}

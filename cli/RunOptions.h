// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The options of marvane-cli run: the list file, which of its tasks to run, and how.
struct RunOptions {
    std::string list;
    bool keepGoing = false;
    bool update = false;
    std::optional<std::size_t> task;  // --task N, from 1
    std::size_t shard = 0;            // --shard I/N: I from 1; 0 without the option
    std::size_t shards = 0;

    bool parse(const std::vector<std::string>& args, std::string* error);
    // The indices (from 0) of the tasks of a list of `count` tasks that this run takes, in
    // order; false with the reason when the task asked for is not in the list.
    bool select(std::size_t count, std::vector<std::size_t>* chosen, std::string* error) const;
};

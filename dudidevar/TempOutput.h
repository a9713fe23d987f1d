#pragma once

#include <string>

// A temporary file beside an output's target. It is renamed onto the target on commit() and
// removed otherwise, so a target is replaced only by a complete output.
class TempOutput {
public:
    TempOutput() = default;
    ~TempOutput();
    TempOutput(const TempOutput&) = delete;
    TempOutput& operator=(const TempOutput&) = delete;

    // Creates the empty temporary file; false with the reason when the folder is not writable
    // or the target is a folder. A target that is a symbolic link stands for the file it
    // points to: that file is replaced and the link kept.
    bool create(const std::string& target, std::string* error);
    const std::string& path() const { return path_; }
    bool commit(std::string* error);
    void discard();

private:
    std::string target_;
    std::string path_;
};

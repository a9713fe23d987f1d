#include "dudidevar/TempOutput.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <vector>

#include "platform/PathNames.h"

TempOutput::~TempOutput()
{
    discard();
}

bool TempOutput::create(const std::string& target, std::string* error)
{
    discard();
    const std::string folder = PathNames::folderPart(target);
    const std::string name = PathNames::fileName(target);
    if (name.empty()) {
        *error = "the output path names no file";
        return false;
    }
    std::string pattern = folder + "." + name + ".part-XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkstemp(buffer.data());
    if (fd < 0) {
        *error = "cannot write beside " + target + ": " + std::strerror(errno);
        return false;
    }
    ::close(fd);
    target_ = target;
    path_ = buffer.data();
    return true;
}

bool TempOutput::commit(std::string* error)
{
    if (path_.empty())
        return false;
    if (std::rename(path_.c_str(), target_.c_str()) != 0) {
        *error = "cannot rename the output onto " + target_ + ": " + std::strerror(errno);
        discard();
        return false;
    }
    path_.clear();
    return true;
}

void TempOutput::discard()
{
    if (!path_.empty())
        std::remove(path_.c_str());
    path_.clear();
}

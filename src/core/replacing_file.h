#pragma once

#include <chrono>
#include <string>
#include <string_view>

// Writes one file as a whole: into a temporary file in the same directory, renamed over the old
// file only once it is complete, so that a failure leaves either the new file or the old one,
// never a fragment. A symbolic link to a regular file keeps its link: the target is replaced;
// but a link in a sticky, world-writable directory that belongs neither to us nor to the
// directory's owner is not followed (EACCES). A name that leads to something that is not a
// regular file (a device, a pipe) is written in place, so that it is never replaced by a regular
// file; a pipe whose reader goes away fails the write with EPIPE rather than ending the program
// with SIGPIPE, and one that has not taken the whole file inPlaceWait after its opening fails it
// with ETIMEDOUT, so that a reader that never reads does not freeze the window.
//
// Every step answers 0 or the errno of the failure.
class ReplacingFile {
public:
    explicit ReplacingFile(std::string path);
    ~ReplacingFile(); // removes a temporary file that was not committed
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    static constexpr std::chrono::seconds inPlaceWait{2};

    int create();
    int write(std::string_view bytes);
    int commit();

private:
    std::string path;      // as given
    std::string target;    // what gets replaced: the path with links resolved
    std::string temporary; // empty when writing in place
    int fd = -1;
    std::chrono::steady_clock::time_point deadline; // of writing in place
};

// Writes the whole file at once; 0 or the errno of the step that failed.
int replaceFile(const std::string &path, std::string_view bytes);

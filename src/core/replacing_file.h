#pragma once

#include <string>
#include <string_view>

// Writes one file as a whole: into a temporary file in the same directory, renamed over the old
// file only once it is complete, so that a failure leaves either the new file or the old one,
// never a fragment. A symbolic link to a regular file keeps its link: the target is replaced. A
// name that leads to something that is not a regular file (a device, a pipe) is written in
// place, so that it is never replaced by a regular file; a pipe whose reader goes away fails the
// write with EPIPE rather than ending the program with SIGPIPE.
//
// Every step answers 0 or the errno of the failure.
class ReplacingFile {
public:
    explicit ReplacingFile(std::string path);
    ~ReplacingFile(); // removes a temporary file that was not committed
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    int create();
    int write(std::string_view bytes);
    int commit();

private:
    std::string path;      // as given
    std::string target;    // what gets replaced: the path with links resolved
    std::string temporary; // empty when writing in place
    int fd = -1;
};

// Writes the whole file at once; 0 or the errno of the step that failed.
int replaceFile(const std::string &path, std::string_view bytes);

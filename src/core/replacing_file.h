#pragma once

#include <chrono>
#include <string>
#include <string_view>

// One file of a set written whole (file_set.h), step by step: written into a temporary file
// beside it under a short hidden name, so that any name the file system takes can be written, and
// renamed over the old file only once every file of the set is complete. A symbolic link to a
// regular file keeps its link: the target is replaced; but a link in a sticky, world-writable
// directory that belongs neither to us nor to the directory's owner is not followed
// (foreignLink). A name that leads to something that is not a regular file (a device, a pipe) is
// written in place, so that it is never replaced by a regular file; a pipe nobody reads fails at
// once (noReader), one whose reader goes away fails the write with EPIPE rather than ending the
// program with SIGPIPE, and one that has not taken the bytes inPlaceWait after the write began
// fails it (stalled), so that a reader that never reads does not freeze the window.
//
// create(), write(), close() and replace() answer 0, the errno of the failure, or one of the
// refusals below.
class ReplacingFile {
public:
    // The refusals of this writer's own, beside the errno values (which are positive).
    static constexpr int foreignLink = -1;
    static constexpr int noReader = -2;
    static constexpr int stalled = -3;

    static constexpr std::chrono::seconds inPlaceWait{2};

    explicit ReplacingFile(std::string path);
    ~ReplacingFile(); // removes the temporary file and the backup that are left
    ReplacingFile(const ReplacingFile &) = delete;
    ReplacingFile &operator=(const ReplacingFile &) = delete;

    int create();
    bool inPlace() const { return writesInPlace; }
    int write(std::string_view bytes);
    int close(); // a temporary file reaches the disk first

    // A second name (a hard link) for the old file, to put it back by; false when there is an old
    // file that cannot have one (a file system without hard links).
    bool backUp();
    int replace();
    // Undoes replace(): the old file back from its backup, or the new one gone where there was
    // none.
    void restore();

private:
    std::string path;      // as given
    std::string target;    // what gets replaced: the path with links resolved
    std::string temporary; // empty when writing in place or once renamed
    std::string backup;    // the old file's second name, while there is one
    bool writesInPlace = false;
    bool existed = false; // whether there was an old file
    bool replaced = false;
    int fd = -1;
};

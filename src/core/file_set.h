#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A file to write: its name and all its bytes.
struct FileBytes {
    std::string path;
    std::string_view bytes;
};

// Where a set failed: the file's index in the set, and the errno or the writer's own refusal
// (ReplacingFile).
struct FileSetFault {
    std::size_t file;
    int error;
};

// Writes the files as one: each is first written in full (and synced) beside its name, then all
// are put in place, so that a failure leaves every old file as it was and nothing temporary
// behind. Names that lead to a pipe or a device are written into, never replaced; they are
// written once every other file is complete, and what a pipe took cannot be taken back. Before
// the renames each old file gets a second name (a hard link), so that a rename that fails after
// others succeeded puts the replaced ones back; where the file system has no hard links, that
// file is renamed last. Links, shared folders and pipes as ReplacingFile treats them.
std::optional<FileSetFault> writeFileSet(const std::vector<FileBytes> &files);

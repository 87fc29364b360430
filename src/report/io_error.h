#pragma once

#include <string>

// Input/output errors of the report file, in the terms of the classic error table:
//
//   2 "File not found"        3 "Invalid filename"          4 "Too many open files"
//   5 "File access denied"  100 "Read beyond end of file"  101 "Disk full"
// 106 "Invalid numeric input"   any other code: "I/O error <code>"
//
// This platform's errno values map onto it as follows:
//   ENOENT                        -> 2   no such file or directory
//   EMFILE, ENFILE                -> 4   out of descriptors, per process or system-wide
//   EACCES, EPERM, EROFS, EISDIR  -> 5   no permission, read-only file system, and a name taken
//                                        by a directory (denied access on the classic platform)
//   ENOSPC                        -> 101 no space left on the device
//   anything else                 -> "I/O error <errno>" with the errno itself, never a table
//                                        entry by coincidence (EIO is 5 here, yet not "denied").

// The table code an errno stands for, or 0 when the table has no entry for it.
int ioErrorCode(int error);

// The message for a table code; "I/O error <code>" for a code the table lacks.
std::string ioErrorCodeMessage(int code);

// The message a failed report operation shows for its errno.
std::string ioErrorMessage(int error);

#pragma once

#include <string>
#include <string_view>
#include <vector>

// A file written whole (a picture, a netlist, a response), replaced only once it is complete
// (ReplacingFile): a failure leaves the new file or the old one, never a fragment, and throws
// std::runtime_error with the text the error report shows: "Cannot create file "<full path>".
// <system text>" when it cannot be created, "Stream write error" when writing or completing it
// fails.
void writeWholeFile(const std::string &path, std::string_view bytes);

// A name made absolute against the current directory, as the error texts give it.
std::string fullPath(const std::string &name);

// The word after files were written: "Сохранено в <folder>: <name>, <name>".
std::string savedNotice(const std::string &folder, const std::vector<std::string> &names);

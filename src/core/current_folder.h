#pragma once

#include <string>

// The folder the program writes into unless told otherwise ("Сохранить", the help text) and
// where its file dialogs start: the current directory.
struct CurrentFolder {
    std::string path;       // absolute; empty when it cannot be named
    std::string whyUnknown; // then the reason, in Russian
};

CurrentFolder currentFolder();

// A name made absolute against the current directory, as the error texts give it; as it is when
// the current directory cannot be named.
std::string fullPath(const std::string &name);

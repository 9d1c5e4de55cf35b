// Starting the program the launcher measures (launch.cpp): a console of its
// own, as a batch file started from the desktop gets, and standard handles
// redirected when asked.
#pragma once

#include <windows.h>

#include <string>

struct ChildStart {
    std::string command;       // passed to CreateProcessA unchanged
    std::string out_file;      // standard output goes here (else NUL, when any handle is set)
    std::string pipe_in_file;  // standard input is a pipe this file is written into
    // The pipe stays open after the file's bytes until the program ends, as
    // from a writer that has more to say later.
    bool hold_pipe = false;
};

// Starts the program; a thread of the launcher writes into its pipe, at full
// speed, from the moment the process exists. False (with GetLastError set)
// when the program could not be started.
bool start_child(const ChildStart& start, PROCESS_INFORMATION* info);

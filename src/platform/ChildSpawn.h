#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// Two descriptors of one pipe, both close-on-exec and both above the standard three.
struct PipeEnds {
    int Read = -1;
    int Write = -1;
};

// False (and nothing open) when the pipe cannot be made.
bool MakePipe(PipeEnds& ends);

// Closes a descriptor once, retrying nothing (a failed close leaves nothing to retry) and
// marking it closed. False when the system reported an error.
bool CloseDescriptor(int& descriptor);

// Starts `arguments[0]` with `arguments` in a new session, working folder `folder` (when not
// empty), standard input from `input`, standard output and standard error into `output`, the
// parent's environment, default signal handling, and no other descriptor of the parent.
// The child's pid, or -1 when it could not be started (errno tells why).
pid_t SpawnChild(const std::vector<std::string>& arguments, const std::string& folder,
                 int input, int output);

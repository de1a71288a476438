#include "platform/ChildSpawn.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace {

// Moves a descriptor that landed on 0, 1 or 2 (the parent's own were closed) above them, so
// that setting up the child's standard descriptors cannot overwrite it.
bool LiftAboveStandard(int& descriptor) {
    if (descriptor > 2) {
        return true;
    }
    const int lifted = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 3);
    if (lifted < 0) {
        return false;
    }
    ::close(descriptor);
    descriptor = lifted;
    return true;
}

class SpawnSetup {
public:
    SpawnSetup() {
        actionsReady_ = ::posix_spawn_file_actions_init(&actions_) == 0;
        attributesReady_ = ::posix_spawnattr_init(&attributes_) == 0;
    }
    ~SpawnSetup() {
        if (actionsReady_) {
            ::posix_spawn_file_actions_destroy(&actions_);
        }
        if (attributesReady_) {
            ::posix_spawnattr_destroy(&attributes_);
        }
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    bool Prepare(const std::string& folder, int input, int output) {
        if (!actionsReady_ || !attributesReady_) {
            return false;
        }
        if (::posix_spawn_file_actions_adddup2(&actions_, input, STDIN_FILENO) != 0 ||
            ::posix_spawn_file_actions_adddup2(&actions_, output, STDOUT_FILENO) != 0 ||
            ::posix_spawn_file_actions_adddup2(&actions_, output, STDERR_FILENO) != 0) {
            return false;
        }
        if (!folder.empty() &&
            ::posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str()) != 0) {
            return false;
        }
        if (::posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1) != 0) {
            return false;
        }

        sigset_t none;
        sigset_t all;
        if (::sigemptyset(&none) != 0 || ::sigfillset(&all) != 0 ||
            ::sigdelset(&all, SIGKILL) != 0 || ::sigdelset(&all, SIGSTOP) != 0) {
            return false;
        }
        return ::posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSID |
                                                            POSIX_SPAWN_SETSIGMASK |
                                                            POSIX_SPAWN_SETSIGDEF) == 0 &&
               ::posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
               ::posix_spawnattr_setsigdefault(&attributes_, &all) == 0;
    }

    const posix_spawn_file_actions_t* Actions() const { return &actions_; }
    const posix_spawnattr_t* Attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_{};
    posix_spawnattr_t attributes_{};
    bool actionsReady_ = false;
    bool attributesReady_ = false;
};

}  // namespace

bool MakePipe(PipeEnds& ends) {
    int descriptors[2] = {-1, -1};
    if (::pipe2(descriptors, O_CLOEXEC) != 0) {
        return false;
    }
    ends.Read = descriptors[0];
    ends.Write = descriptors[1];
    if (!LiftAboveStandard(ends.Read) || !LiftAboveStandard(ends.Write)) {
        CloseDescriptor(ends.Read);
        CloseDescriptor(ends.Write);
        return false;
    }
    return true;
}

bool CloseDescriptor(int& descriptor) {
    if (descriptor < 0) {
        return true;
    }
    // Linux frees the descriptor even when close reports EINTR, so it is never closed twice.
    const bool closed = ::close(descriptor) == 0 || errno == EINTR;
    descriptor = -1;
    return closed;
}

pid_t SpawnChild(const std::vector<std::string>& arguments, const std::string& folder,
                 int input, int output) {
    if (arguments.empty()) {
        errno = ENOENT;
        return -1;
    }
    SpawnSetup setup;
    if (!setup.Prepare(folder, input, output)) {
        errno = EINVAL;
        return -1;
    }

    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    pid_t pid = -1;
    const int result = ::posix_spawn(&pid, arguments[0].c_str(), setup.Actions(),
                                     setup.Attributes(), argv.data(), environ);
    if (result != 0) {
        errno = result;
        return -1;
    }
    return pid;
}

// The native half of batch runs: each file's run is this program again (/proc/self/exe), started with
// posix_spawn, standard input from /dev/null and its messages into a file; waited for with waitpid.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include "app/batch.h"

extern char **environ;

bool platformBatchAvailable(std::string *reason)
{
    (void)reason;
    return true;
}

int64_t platformStartRun(const std::vector<std::string> &args, const std::string &logPath, std::string *error)
{
    static const char self[] = "/proc/self/exe";
    std::vector<char *> argv;
    std::string name = "vantrope";
    argv.push_back(&name[0]);
    std::vector<std::string> copies = args;
    for (std::string &arg : copies)
        argv.push_back(&arg[0]);
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t child = 0;
    int failure = posix_spawn(&child, self, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failure != 0) {
        *error = std::string("cannot start a run: ") + strerror(failure);
        return 0;
    }
    return (int64_t)child;
}

int64_t platformWaitRun(int32_t *status)
{
    int how = 0;
    pid_t ended = waitpid(-1, &how, 0);
    if (ended <= 0)
        return 0;
    *status = WIFEXITED(how) ? WEXITSTATUS(how) : WIFSIGNALED(how) ? 128 + WTERMSIG(how) : 1;
    return (int64_t)ended;
}

void platformInterruptRun(int64_t run, int32_t signalNumber) { kill((pid_t)run, signalNumber); }

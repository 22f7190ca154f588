#include "platform/ChildLifetime.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

void DieWithParent(pid_t parent)
{
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) // the parent ended before the line above took effect
        _exit(NotStartedStatus);
}

#pragma once

#include <sys/types.h>

// Exit status of a program that could not be started (as shells report it).
constexpr int NotStartedStatus = 127;

// For a child between fork and exec: it is killed when `parent` ends, and ends at once with
// NotStartedStatus when `parent` has ended already. Only async-signal-safe calls.
void DieWithParent(pid_t parent);

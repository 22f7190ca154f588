#pragma once

#include <QString>
#include <sys/types.h>

// Qt keeps per-user runtime files under XDG_RUNTIME_DIR, and the encoder front its pass logs.
// Where the session sets none (as under root or in a container), Korumi names a private folder
// of its own, so that Qt does not fall back to a shared one with a warning.

// Where XDG_RUNTIME_DIR is unset or empty, creates `folder` (mode 0700) and sets XDG_RUNTIME_DIR
// to it, provided it is a real folder (not a link) owned by `user`. Call before the application
// object exists.
void ProvideRuntimeFolder(const QString& folder, uid_t user);

// ProvideRuntimeFolder for the effective user with korumi-runtime-<user id> in the temporary folder.
void ProvideRuntimeFolder();

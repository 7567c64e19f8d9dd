// SPDX-License-Identifier: GPL-3.0-or-later
// Replacing a file whole: a temporary file beside it, synced and renamed over it, the directory
// synced; and removing what a killed replace left.
#pragma once

#include <sys/types.h>

#include <QByteArray>
#include <QByteArrayView>
#include <optional>

// The permissions, owner and group that a replaced file keeps.
struct KeptAttributes {
    mode_t mode;
    uid_t uid;
    gid_t gid;
};

// Replaces the file at the native path `target` (no symbolic link) with one that holds `bytes`,
// whole or not at all; with no `keep`, creates it with the usual permissions. The bytes go into
// a new temporary file beside it, named ".NAME.tinglan-new-" and six letters or digits, which is
// written, given `keep`, synced and closed, then renamed over `target`; last the directory is
// synced, so that the new file survives a power cut. Returns false, the temporary file removed
// and `target` left as it was, when the user may not write `target` or any step fails (a write,
// sync, chmod, chown, close or the rename). A failed sync of the directory after the rename
// returns false too, with the new file in place: it might not survive a power cut.
[[nodiscard]] bool replaceFile(const QByteArray& target, QByteArrayView bytes,
                               std::optional<KeptAttributes> keep);

// Removes the temporary files that killed replaces of `target` left beside it: regular files
// named as replaceFile names them, and nothing else. Call only while no replace of `target` can
// be under way (holding the writers' lock).
void removeLeftoverTemporaries(const QByteArray& target);

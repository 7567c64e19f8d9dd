// SPDX-License-Identifier: GPL-3.0-or-later
// Following symbolic links the way the program may: only the links of the running user or root.
#pragma once

#include <QByteArray>
#include <optional>

// Where a path leads.
struct LinkEnd {
    QByteArray path;  // the first name of the chain that is no symbolic link; may be missing
    bool throughLink = false;  // whether a link led there
};

// Returns the directory part of the native path `path`: "." for a bare name, "/" for a name in
// the root.
QByteArray directoryOf(const QByteArray& path);

// Returns where the native path `path` leads when its symbolic links are followed, as long as the
// effective user or root owns each link of the chain: the rule that Linux's protected_symlinks
// applies in sticky directories, here applied everywhere. Returns nothing for a link that anyone
// else owns, a link that cannot be read, a loop, or a chain of more than 40 links. Only the last
// name is looked at; the directories above it are the kernel's to resolve.
std::optional<LinkEnd> followOwnLinks(const QByteArray& path);

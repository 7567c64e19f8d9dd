// SPDX-License-Identifier: GPL-3.0-or-later
#include "textfiles/file_kind.h"

#include <sys/stat.h>

#include <QFile>
#include <optional>

#include "textfiles/own_links.h"

bool isRegularFile(const QString& path) {
    const std::optional<LinkEnd> end = followOwnLinks(QFile::encodeName(path));
    struct stat info {};
    return end && ::lstat(end->path.constData(), &info) == 0 && S_ISREG(info.st_mode);
}

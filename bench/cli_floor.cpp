// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of a one-character run of tinglan-query: a program that loads Qt Core, builds one
// answer line from a QString and prints it, and does nothing else.
#include <QByteArray>
#include <QString>
#include <cstdio>

int main() {
    const QByteArray line = QStringLiteral(u"啊\tkb\ta\n").toUtf8();
    const auto size = static_cast<std::size_t>(line.size());
    const bool written = std::fwrite(line.constData(), 1, size, stdout) == size;
    return written && std::fflush(stdout) == 0 ? 0 : 1;
}

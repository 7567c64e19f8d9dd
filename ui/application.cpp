// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/application.h"

#include <QApplication>
#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdio>
#include <cstdlib>

namespace {

QByteArray quoted(const char* variable) {
    const QByteArray value = qgetenv(variable);
    return value.isEmpty() ? QByteArray("(") + variable + " is not set)" : '"' + value + '"';
}

// The displays Qt tries, in its order: QT_QPA_PLATFORM, else Wayland first in a Wayland session,
// else X.
QByteArray displayDescription() {
    QByteArray platforms = qgetenv("QT_QPA_PLATFORM");
    if (platforms.isEmpty()) {
        platforms = qgetenv("XDG_SESSION_TYPE") == "wayland" ? "wayland;xcb" : "xcb";
    }
    QByteArrayList names;
    for (const QByteArray& platform : platforms.split(';')) {
        const QByteArray name = platform.split(':').first().trimmed();
        if (name == "xcb") {
            names << "the X display " + quoted("DISPLAY");
        } else if (name.startsWith("wayland")) {
            names << "the Wayland display " + quoted("WAYLAND_DISPLAY");
        } else if (!name.isEmpty()) {
            names << "the display of Qt's platform \"" + name + '"';
        }
    }
    return names.isEmpty() ? QByteArray("the display") : names.join(" or ");
}

struct HeldMessage {
    QtMsgType type;
    QByteArray category;
    QString text;
};

QList<HeldMessage>* g_heldMessages = nullptr;
QByteArray* g_display = nullptr;

// While the platform starts, its messages are held back: a failure shows one line of our own,
// a success passes them on as they came.
void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "tinglan: cannot open %s\n", g_display->constData());
        std::fflush(stderr);
        // Qt would abort (and dump core) once this handler returns.
        std::_Exit(1);
    }
    g_heldMessages->append({type, QByteArray(context.category), text});
}

}  // namespace

std::unique_ptr<QApplication> createApplication(const char* programName) {
    // QApplication keeps references to both for its lifetime.
    static int argc = 1;
    static char* argv[] = {const_cast<char*>(programName), nullptr};

    QByteArray display = displayDescription();
    QList<HeldMessage> held;
    g_display = &display;
    g_heldMessages = &held;
    const QtMessageHandler previous = qInstallMessageHandler(holdMessage);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    g_heldMessages = nullptr;
    g_display = nullptr;
    for (const HeldMessage& message : held) {
        const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
        previous(message.type, context, message.text);
    }
    return application;
}

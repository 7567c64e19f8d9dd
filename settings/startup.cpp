// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/startup.h"

#include <QFileInfo>

#include "settings/a_readini.h"

namespace {

// This platform has no hidden or system marks: any regular file counts, a directory does not.
bool settingsFileExists(const QString& path) { return QFileInfo(path).isFile(); }

// "1", " 1", "01", "+1" and "1.0" ask for the top band; "1abc", "0x1" and "" do not.
bool readsAsOne(const QString& value) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok && number == 1.0;
}

QString section() { return QString::fromUtf16(kSettingsSection); }

}  // namespace

QString applicationWindowTitle() {
    return QString::fromUtf16(kApplicationTitle) +
           QStringLiteral(" V%1.%2").arg(TINGLAN_VERSION_MAJOR).arg(TINGLAN_VERSION_MINOR);
}

void Form_Load(StartupWindow& window) {
    const QString webAddress = QString::fromUtf16(kMakerWebAddress);
    if (!settingsFileExists(settingsFilePath(window.programDirectory()))) {
        const std::pair<const char*, QString> defaults[] = {
            {"SetOnTop", QStringLiteral("0")},
            {"WebOnline", webAddress},
            {"ToolTipText", QStringLiteral("请记住本站通用域名:") + webAddress},
            {"About", QString::fromUtf16(kMakerCreditLine)},
            {"MeTitle", applicationWindowTitle()},
            {"MeLabel1", QStringLiteral("五笔编码:")},
            {"MeLabel2", QStringLiteral("汉语拼音:")},
            {"MeLabel3", QStringLiteral("输入汉字:")},
            {"MeSetOnTop", QStringLiteral("总在最上:")},
            {"MeCmmsearch", QStringLiteral("查询")},
        };
        for (const auto& [key, value] : defaults) {
            WriteIniValue(settingsFilePath(window.programDirectory()), section(),
                          QString::fromLatin1(key), value);
        }
    }

    const auto read = [&window](const char* key) {
        return ReadIniValue(settingsFilePath(window.programDirectory()), section(),
                            QString::fromLatin1(key), QString());
    };
    const QString setOnTop = read("SetOnTop");
    const QString toolTip = read("ToolTipText");
    const QString label1 = read("MeLabel1");
    const QString label2 = read("MeLabel2");
    const QString label3 = read("MeLabel3");
    const QString onTopCaption = read("MeSetOnTop");
    const QString searchCaption = read("MeCmmsearch");

    if (readsAsOne(setOnTop)) {
        // Ticking the box runs its click handler, which stores "1" and moves the window up.
        window.setOnTopState(1);
        window.SetWindowOnTop(window.onTopState());
    } else {
        window.setOnTopState(0);
    }

    // Without a file the designed captions stay: an unreadable file must not blank the window.
    if (settingsFileExists(settingsFilePath(window.programDirectory()))) {
        window.setCreditToolTip(toolTip);
        window.setOnTopCaption(onTopCaption);
        window.setLabel1Caption(label1);
        window.setLabel2Caption(label2);
        window.setLabel3Caption(label3);
        window.setSearchCaption(searchCaption);
    }

    window.setTitle(applicationWindowTitle());
    window.setInputText(QString());
    window.setWubiResult(QString());
    window.setPinyinResult(QString());
}

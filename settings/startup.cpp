// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/startup.h"

#include <QFileInfo>
#include <utility>

#include "common/app_info.h"
#include "settings/a_readini.h"
#include "settings/setting_keys.h"

namespace {

// This platform has no hidden or system marks: any regular file counts, a directory does not.
bool settingsFileExists(const QString& path) { return QFileInfo(path).isFile(); }

// "1", " 1", "01", "+1" and "1.0" ask for the top band; "1abc", "0x1" and "" do not.
bool readsAsOne(const QString& value) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    return ok && number == 1.0;
}

QString text(const char16_t* constant) { return QString::fromUtf16(constant); }

}  // namespace

void Form_Load(StartupWindow& window, const QString& settingsPath) {
    const QString section = text(kSettingsSection);
    if (!settingsFileExists(settingsPath)) {
        const QString webAddress = text(kMakerWebAddress);
        const std::pair<const char16_t*, QString> defaults[] = {
            {kSetOnTopKey, QStringLiteral("0")},
            {kWebOnlineKey, webAddress},
            {kToolTipTextKey, QStringLiteral("请记住本站通用域名:") + webAddress},
            {kAboutKey, text(kMakerCreditLine)},
            {kMeTitleKey, text(kWindowTitle)},
            {kMeLabel1Key, QStringLiteral("五笔编码:")},
            {kMeLabel2Key, QStringLiteral("汉语拼音:")},
            {kMeLabel3Key, QStringLiteral("输入汉字:")},
            {kMeSetOnTopKey, QStringLiteral("总在最上:")},
            {kMeCmmsearchKey, QStringLiteral("查询")},
        };
        for (const auto& [key, value] : defaults) {
            WriteIniValue(settingsPath, section, text(key), value);
        }
    }

    const auto read = [&](const char16_t* key) {
        return ReadIniValue(settingsPath, section, text(key), QString());
    };
    const QString setOnTop = read(kSetOnTopKey);
    const QString toolTip = read(kToolTipTextKey);
    const QString label1 = read(kMeLabel1Key);
    const QString label2 = read(kMeLabel2Key);
    const QString label3 = read(kMeLabel3Key);
    const QString onTopCaption = read(kMeSetOnTopKey);
    const QString searchCaption = read(kMeCmmsearchKey);

    if (readsAsOne(setOnTop)) {
        // Ticking the box runs its click handler, which stores "1" and moves the window up.
        window.setOnTopState(1);
        window.SetWindowOnTop(window.onTopState());
    } else {
        window.setOnTopState(0);
    }

    // Without a file the designed captions stay: an unreadable file must not blank the window.
    if (settingsFileExists(settingsPath)) {
        window.setCreditToolTip(toolTip);
        window.setOnTopCaption(onTopCaption);
        window.setLabel1Caption(label1);
        window.setLabel2Caption(label2);
        window.setLabel3Caption(label3);
        window.setSearchCaption(searchCaption);
    }

    window.setTitle(text(kWindowTitle));
    window.setInputText(QString());
    window.setWubiResult(QString());
    window.setPinyinResult(QString());
}

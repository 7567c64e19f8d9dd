// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/startup.h"

#include <QStringList>

#include "common/app_info.h"
#include "settings/a_readini.h"
#include "settings/setting_keys.h"
#include "textfiles/file_kind.h"

namespace {

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
    // This platform has no hidden or system marks: any regular file counts, a directory does not.
    if (!isRegularFile(settingsPath)) {
        const QString webAddress = text(kMakerWebAddress);
        // One write for all ten: a start killed half-way leaves no file, never a part of one,
        // since an existing file is never completed.
        WriteNewIniFile(
            settingsPath, section,
            {
                {text(kSetOnTopKey), QStringLiteral("0")},
                {text(kWebOnlineKey), webAddress},
                {text(kToolTipTextKey), QStringLiteral("请记住本站通用域名:") + webAddress},
                {text(kAboutKey), text(kMakerCreditLine)},
                {text(kMeTitleKey), text(kWindowTitle)},
                {text(kMeLabel1Key), QStringLiteral("五笔编码:")},
                {text(kMeLabel2Key), QStringLiteral("汉语拼音:")},
                {text(kMeLabel3Key), QStringLiteral("输入汉字:")},
                {text(kMeSetOnTopKey), QStringLiteral("总在最上:")},
                {text(kMeCmmsearchKey), QStringLiteral("查询")},
            });
    }

    // One read of the file gives all seven values, however large or strange the file is.
    const QStringList values = ReadIniValues(
        settingsPath, section,
        {text(kSetOnTopKey), text(kToolTipTextKey), text(kMeLabel1Key), text(kMeLabel2Key),
         text(kMeLabel3Key), text(kMeSetOnTopKey), text(kMeCmmsearchKey)});
    const QString& setOnTop = values[0];
    const QString& toolTip = values[1];
    const QString& label1 = values[2];
    const QString& label2 = values[3];
    const QString& label3 = values[4];
    const QString& onTopCaption = values[5];
    const QString& searchCaption = values[6];

    if (readsAsOne(setOnTop)) {
        // Ticking the box runs its click handler, which stores "1" and moves the window up.
        window.setOnTopState(1);
        window.SetWindowOnTop(window.onTopState());
    } else {
        window.setOnTopState(0);
    }

    // Without a file the designed captions stay: an unreadable file must not blank the window.
    if (isRegularFile(settingsPath)) {
        window.setCreditToolTip(toolTip);
        window.setOnTopCaption(onTopCaption);
        window.setLabel1Caption(label1);
        window.setLabel2Caption(label2);
        window.setLabel3Caption(label3);
        window.setSearchCaption(searchCaption);
    }

    window.setTitle(text(kWindowTitle));
    window.clearQueryFields();
}

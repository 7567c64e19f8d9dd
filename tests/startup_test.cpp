// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up: the first-run file, the always-on-top state, the captions and the cleared fields.
#include "settings/startup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QStringList>
#include <QTemporaryDir>

#include "common/app_info.h"
#include "tests/qt_printers.h"
#include "tests/test_files.h"

namespace {

// Records what start-up does to the window. Ticking the box records the state change only:
// the real box's click handler is the window's business and is tested with the window.
class RecordingWindow : public StartupWindow {
public:
    void setCreditToolTip(const QString& text) override { m_calls << "toolTip:" + text; }
    void setOnTopCaption(const QString& text) override { m_calls << "ChkSetOnTop:" + text; }
    void setLabel1Caption(const QString& text) override { m_calls << "Label1:" + text; }
    void setLabel2Caption(const QString& text) override { m_calls << "Label2:" + text; }
    void setLabel3Caption(const QString& text) override { m_calls << "Label3:" + text; }
    void setSearchCaption(const QString& text) override { m_calls << "Cmmsearch:" + text; }
    void setTitle(const QString& text) override { m_calls << "title:" + text; }
    void clearQueryFields() override { m_calls << "clearQueryFields"; }
    qint16 onTopState() const override { return m_state; }
    void setOnTopState(qint16 state) override {
        if (state != m_state) m_calls << QString("state:%1").arg(state);
        m_state = state;
    }
    void SetWindowOnTop(qint16 state) override {
        m_calls << QString("SetWindowOnTop:%1").arg(state);
    }

    qint16 m_state = 0;
    QStringList m_calls;
};

const QStringList kTail = {"title:" + QString::fromUtf16(kWindowTitle), "clearQueryFields"};

QStringList captions(const QString& toolTip, const QString& onTop, const QString& label1,
                     const QString& label2, const QString& label3, const QString& search) {
    return {"toolTip:" + toolTip, "ChkSetOnTop:" + onTop, "Label1:" + label1,
            "Label2:" + label2,   "Label3:" + label3,     "Cmmsearch:" + search};
}

QByteArray settingsWithOnTop(const QString& value) {
    return gbk("[基本设置]\r\nSetOnTop=" + value +
               "\r\nToolTipText=提示\r\nMeLabel1=一\r\nMeLabel2=二\r\nMeLabel3=三\r\n"
               "MeSetOnTop=顶\r\nMeCmmsearch=查\r\n");
}

TEST(FormLoad, FirstRunWritesTheTenDefaultsAndShowsThem) {
    QTemporaryDir directory;
    RecordingWindow window;
    Form_Load(window, directory.filePath("SetValve.ini"));

    EXPECT_EQ(fileBytes(directory.filePath("SetValve.ini")), golden("setvalve_first_run.ini"));
    EXPECT_EQ(window.m_calls, captions("请记住本站通用域名:https://tinglan.example/",
                                       "总在最上:", "五笔编码:", "汉语拼音:", "输入汉字:", "查询") +
                                  kTail);
}

TEST(FormLoad, OnlyAValueReadingAsOneTicksTheBox) {
    const std::pair<const char*, bool> cases[] = {
        {"1", true},   {" 1", true},  {"01", true},   {"1.0", true},   {"+1", true},
        {"0", false},  {"2", false},  {"", false},    {"1abc", false}, {"0x1", false},
        {"-1", false}, {"是", false}, {"1 1", false},
    };
    for (const auto& [value, onTop] : cases) {
        QTemporaryDir directory;
        const QString path = directory.filePath("SetValve.ini");
        putFile(path, settingsWithOnTop(QString::fromUtf8(value)));
        RecordingWindow window;
        Form_Load(window, directory.filePath("SetValve.ini"));

        QStringList expected;
        if (onTop)
            expected << "state:1"
                     << "SetWindowOnTop:1";
        expected += captions("提示", "顶", "一", "二", "三", "查") + kTail;
        EXPECT_EQ(window.m_calls, expected) << '"' << value << '"';
        EXPECT_EQ(fileBytes(path), settingsWithOnTop(QString::fromUtf8(value)))
            << '"' << value << '"';
    }
}

TEST(FormLoad, AnExistingFileIsNeverCompleted) {
    QTemporaryDir directory;
    const QString path = directory.filePath("SetValve.ini");
    putFile(path, {});
    RecordingWindow empty;
    Form_Load(empty, directory.filePath("SetValve.ini"));
    EXPECT_EQ(fileBytes(path), QByteArray());
    EXPECT_EQ(empty.m_calls, captions("", "", "", "", "", "") + kTail);

    putFile(path, gbk("[基本设置]\r\nMeLabel1=输入看看\r\nMeCmmsearch=搜\r\n"));
    RecordingWindow edited;
    Form_Load(edited, directory.filePath("SetValve.ini"));
    EXPECT_EQ(edited.m_calls, captions("", "", "输入看看", "", "", "搜") + kTail);
}

// Without a settings file the designed captions stay; the title and the clearing still happen.
TEST(FormLoad, WithoutAFileTheCaptionsAreLeftAlone) {
    QTemporaryDir directory;
    ASSERT_TRUE(QDir(directory.path()).mkdir("SetValve.ini"));
    RecordingWindow blocked;
    Form_Load(blocked, directory.filePath("SetValve.ini"));
    EXPECT_EQ(blocked.m_calls, kTail);
    EXPECT_TRUE(QFileInfo(directory.filePath("SetValve.ini")).isDir());

    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores the read-only directory; run as an unprivileged user";
    QTemporaryDir readOnly;
    ASSERT_TRUE(
        QFile::setPermissions(readOnly.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    RecordingWindow denied;
    Form_Load(denied, readOnly.filePath("SetValve.ini"));
    EXPECT_EQ(denied.m_calls, kTail);
    EXPECT_FALSE(QFileInfo::exists(readOnly.filePath("SetValve.ini")));
    QFile::setPermissions(readOnly.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace

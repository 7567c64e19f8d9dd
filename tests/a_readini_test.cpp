// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of `A_readini`: the settings file's layout byte for byte, and real file-system faults.
#include "settings/a_readini.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <string_view>

#include "tests/test_files.h"

namespace {

using namespace std::string_view_literals;

// Permission bits do not bind root; CI runs these cases as an unprivileged user.
#define SKIP_IF_ROOT()                                                                \
    if (geteuid() == 0) {                                                             \
        GTEST_SKIP() << "root ignores file permissions; run as an unprivileged user"; \
    }

const QString kNone = QStringLiteral("<none>");
const QString kSection = QString::fromUtf16(kSettingsSection);

QByteArray bytes(std::string_view text) { return QByteArray(text.data(), qsizetype(text.size())); }

QStringList entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                               QDir::NoDotAndDotDot);
}

class ReadIniTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QString m_path = settingsFilePath(m_dir.path());
};

// One call on a file: its bytes before, the call, the result, its bytes after (a read keeps them).
struct ProfileCase {
    const char* what;
    std::string_view before;
    bool write;
    QString section;
    QString key;
    QString value;  // the value written, or the default of a read
    QString result;
    std::string_view after;
};

const std::string_view kAb = "[s]\r\na=1\r\nb=2\r\n";

// clang-format off
const ProfileCase kProfileCases[] = {
    {"names ignore ASCII case",
     "[Sect]\r\nKey=v\r\n", false, "sECT", "kEY", kNone, "v", {}},
    {"trail bytes are not case-folded (81 61 against 81 41)",
     "[s]\r\n\x81\x61=v\r\n", false, "s", "丄", kNone, kNone, {}},
    {"a section name holding 81 5D",
     "[乚]\r\nk=v\r\n", false, "乚", "k", kNone, "v", {}},
    {"blanks and tabs around names and value",
     "[s]\r\n \t k \t= \t v w \t\r\n", false, "s", "k", kNone, "v w", {}},
    {"blanks around the given names",
     "[ s ]\r\na=1\r\n", false, " s\t", " a ", kNone, "1", {}},
    {"double quotes removed", "[s]\r\nk=\"v\"\r\n", false, "s", "k", kNone, "v", {}},
    {"single quotes removed", "[s]\r\nk='v'\r\n", false, "s", "k", kNone, "v", {}},
    {"unmatched quotes kept", "[s]\r\nk=\"v'\r\n", false, "s", "k", kNone, "\"v'", {}},
    {"quoted blanks kept", "[s]\r\nk=\" a \"\r\n", false, "s", "k", kNone, " a ", {}},
    {"an empty value is no default", "[s]\r\nk=\r\n", false, "s", "k", kNone, "", {}},
    {"a comment line", "[s]\r\n \t;k=v\r\n", false, "s", ";k", kNone, kNone, {}},
    {"# is ordinary text", "[s]\r\n#k=v\r\n", false, "s", "#k", kNone, "v", {}},
    {"no comment at the end of a line", "[s]\r\nk=v ;c\r\n", false, "s", "k", kNone, "v ;c", {}},
    {"a line without = is no key", "[s]\r\nk\r\n", false, "s", "k", kNone, kNone, {}},
    {"the first of repeated sections",
     "[s]\r\na=1\r\n[t]\r\n[S]\r\nb=2\r\n", false, "s", "b", kNone, kNone, {}},
    {"the first of repeated keys", "[s]\r\na=1\r\nA=2\r\n", false, "s", "a", kNone, "1", {}},
    {"LF line ends", "[s]\na=1\nb=2\n", false, "s", "b", kNone, "2", {}},
    {"CR line ends", "[s]\ra=1\rb=2\r", false, "s", "b", kNone, "2", {}},
    {"no final line end", "[s]\r\na=1", false, "s", "a", kNone, "1", {}},
    {"a byte-order mark", "\xEF\xBB\xBF[s]\r\na=1\r\n", false, "s", "a", kNone, "1", {}},
    {"a key before any section", "a=1\r\n[s]\r\n", false, "s", "a", kNone, kNone, {}},
    {"a [ line without ] ends no section", "[s]\r\n[x\r\na=1\r\n", false, "s", "a", kNone, "1", {}},
    {"NUL and non-GBK bytes", "[s]\r\nx=\0\xFF\x81\r\na=1\r\n"sv, false, "s", "a", kNone, "1", {}},
    {"GBK value", "[s]\r\na=\xBA\xBA\r\n", false, "s", "a", kNone, "汉", {}},

    {"value replaced on its own line",
     kAb, true, "s", "a", "9", "1", "[s]\r\na=9\r\nb=2\r\n"},
    {"replacing keeps the name's spelling and blanks",
     "[S]\r\n  A = old  \r\n", true, "s", "a", "new", "1", "[S]\r\n  A = new\r\n"},
    {"new key after the section's last key",
     "[s]\r\na=1\r\n\r\n[t]\r\nx=1\r\n", true, "s", "b", "2", "1",
     "[s]\r\na=1\r\nb=2\r\n\r\n[t]\r\nx=1\r\n"},
    {"new key right after a keyless section line",
     "[s]\r\n;c\r\n[t]\r\n", true, "s", "a", "1", "1", "[s]\r\na=1\r\n;c\r\n[t]\r\n"},
    {"new section at the end",
     "[t]\r\nx=1\r\n", true, "s", "a", "1", "1", "[t]\r\nx=1\r\n[s]\r\na=1\r\n"},
    {"line end added before a new section",
     "[t]\r\nx=1", true, "s", "a", "1", "1", "[t]\r\nx=1\r\n[s]\r\na=1\r\n"},
    {"line end added before a new key",
     "[s]\r\na=1", true, "s", "b", "2", "1", "[s]\r\na=1\r\nb=2\r\n"},
    {"the first of repeated keys replaced",
     "[s]\r\na=1\r\na=2\r\n", true, "s", "a", "3", "1", "[s]\r\na=3\r\na=2\r\n"},
    {"new key in the first of repeated sections",
     "[s]\r\na=1\r\n[s]\r\nb=2\r\n", true, "s", "b", "3", "1",
     "[s]\r\na=1\r\nb=3\r\n[s]\r\nb=2\r\n"},
    {"LF line ends kept",
     "[s]\na=1\n", true, "s", "b", "2", "1", "[s]\na=1\nb=2\r\n"},
    {"byte-order mark kept",
     "\xEF\xBB\xBF[s]\r\na=1\r\n", true, "s", "a", "2", "1", "\xEF\xBB\xBF[s]\r\na=2\r\n"},
    {"byte-order mark alone",
     "\xEF\xBB\xBF", true, "s", "a", "1", "1", "\xEF\xBB\xBF[s]\r\na=1\r\n"},
    {"other bytes kept",
     "; c\r\n[s]\r\n\xFF\x80\0 junk\r\n\r\na=1\r\n"sv, true, "s", "a", "2", "1",
     "; c\r\n[s]\r\n\xFF\x80\0 junk\r\n\r\na=2\r\n"sv},
    {"a value with outer blanks is quoted",
     kAb, true, "s", "a", " x ", "1", "[s]\r\na=\" x \"\r\nb=2\r\n"},
    {"a quoted value is quoted",
     kAb, true, "s", "a", "'q'", "1", "[s]\r\na=\"'q'\"\r\nb=2\r\n"},
    {"key added to a section named 81 5D",
     "[乚]\r\nk=v\r\n", true, "乚", "k2", "w", "1", "[乚]\r\nk=v\r\nk2=w\r\n"},
    {"GBK value written", "", true, "s", "a", "汉", "1", "[s]\r\na=\xBA\xBA\r\n"},

    {"CR in a value", kAb, true, "s", "a", "x\ry", "0", kAb},
    {"LF in a value", kAb, true, "s", "a", "x\ny", "0", kAb},
    {"] in a section", kAb, true, "s]", "a", "1", "0", kAb},
    {"; leading a section", kAb, true, ";s", "a", "1", "0", kAb},
    {"[ leading a section", kAb, true, "[s", "a", "1", "0", kAb},
    {"LF in a section", kAb, true, "s\nt", "a", "1", "0", kAb},
    {"= in a key", kAb, true, "s", "a=b", "1", "0", kAb},
    {"] in a key", kAb, true, "s", "a]", "1", "0", kAb},
    {"; leading a key", kAb, true, "s", " ;a", "1", "0", kAb},
    {"[ leading a key", kAb, true, "s", "[a", "1", "0", kAb},
    {"a blank key", kAb, true, "s", " \t", "1", "0", kAb},
    {"a character GBK lacks", kAb, true, "s", "a", "😀", "0", kAb},
    {"a lone surrogate", kAb, true, "s", "a", QString(QChar(0xD800)), "0", kAb},
};
// clang-format on

TEST_F(ReadIniTest, ProfileLayoutCases) {
    for (const ProfileCase& c : kProfileCases) {
        SCOPED_TRACE(c.what);
        const QByteArray before = bytes(c.before);
        // Names and texts in the table are UTF-8; the file bytes are GBK.
        putFile(m_path, QByteArray(before).replace("乚", gbk("乚")));
        const QString result = c.write ? WriteIniValue(m_path, c.section, c.key, c.value)
                                       : ReadIniValue(m_path, c.section, c.key, c.value);
        EXPECT_EQ(result, c.result);
        const QByteArray after = c.write ? bytes(c.after) : before;
        EXPECT_EQ(fileBytes(m_path), QByteArray(after).replace("乚", gbk("乚")));
        if (c.write && c.result == "1") {
            EXPECT_EQ(ReadIniValue(m_path, c.section, c.key, kNone), c.value) << "reads back";
        }
    }
}

TEST_F(ReadIniTest, ValueCutAt253BytesWithoutSplittingACharacter) {
    const struct {
        QString value;
        QString expected;
    } cases[] = {
        {QString(253, u'a'), QString(253, u'a')},
        {QString(254, u'a'), QString(253, u'a')},
        {QString(251, u'a') + "汉", QString(251, u'a') + "汉"},
        {QString(252, u'a') + "汉", QString(252, u'a')},
        {QString(" ") + QString(252, u'a'),
         QString(" ") + QString(252, u'a')},  // quotes not counted
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value.size());
        ASSERT_EQ(WriteIniValue(m_path, "s", "k", c.value), "1");
        EXPECT_EQ(ReadIniValue(m_path, "s", "k", kNone), c.expected);
    }
}

TEST_F(ReadIniTest, ReadingAMissingFileGivesTheDefaultAndCreatesNothing) {
    EXPECT_EQ(ReadIniValue(m_path, kSection, "SetOnTop", "dflt"), "dflt");
    EXPECT_FALSE(QFileInfo::exists(m_path));
}

TEST_F(ReadIniTest, OneKeyIntoAMissingFileMakesTwoLines) {
    EXPECT_EQ(WriteIniValue(m_path, kSection, "SetOnTop", "0"), "1");
    EXPECT_EQ(fileBytes(m_path), golden("setvalve_one_key.ini"));
}

TEST_F(ReadIniTest, FirstRunKeysInOrderThenOneValueChanged) {
    const char* const keys[][2] = {
        {"SetOnTop", "0"},
        {"WebOnline", "https://tinglan.example/"},
        {"ToolTipText", "请记住本站通用域名:https://tinglan.example/"},
        {"About", "汀兰码音开发组 出品"},
        {"MeTitle", "汀兰码音检字百宝箱 V1.0"},
        {"MeLabel1", "五笔编码:"},
        {"MeLabel2", "汉语拼音:"},
        {"MeLabel3", "输入汉字:"},
        {"MeSetOnTop", "总在最上:"},
        {"MeCmmsearch", "查询"},
    };
    for (const auto& [key, value] : keys) {
        EXPECT_EQ(WriteIniValue(m_path, kSection, key, value), "1") << key;
    }
    const QByteArray tenKeys = golden("setvalve_first_run.ini");
    EXPECT_EQ(fileBytes(m_path), tenKeys);

    EXPECT_EQ(WriteIniValue(m_path, kSection, "SetOnTop", "1"), "1");
    EXPECT_EQ(fileBytes(m_path), QByteArray(tenKeys).replace("SetOnTop=0", "SetOnTop=1"));
    for (const auto& [key, value] : keys) {
        if (QByteArrayView(key) != "SetOnTop") {
            EXPECT_EQ(ReadIniValue(m_path, kSection, key, kNone), value) << key;
        }
    }
}

TEST_F(ReadIniTest, ReadOnlyFileIsLeftAlone) {
    SKIP_IF_ROOT();
    putFile(m_path, bytes(kAb));
    ASSERT_TRUE(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadGroup));
    EXPECT_EQ(WriteIniValue(m_path, "s", "a", "9"), "0");
    EXPECT_EQ(fileBytes(m_path), bytes(kAb));
    EXPECT_EQ(ReadIniValue(m_path, "s", "a", kNone), "1");
}

TEST_F(ReadIniTest, UnreadableFileIsLeftAlone) {
    SKIP_IF_ROOT();
    putFile(m_path, bytes(kAb));
    ASSERT_TRUE(QFile::setPermissions(m_path, QFile::WriteOwner));
    EXPECT_EQ(ReadIniValue(m_path, "s", "a", kNone), kNone);
    EXPECT_EQ(WriteIniValue(m_path, "s", "a", "9"), "0");
    ASSERT_TRUE(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_EQ(fileBytes(m_path), bytes(kAb));
}

TEST_F(ReadIniTest, ReadOnlyDirectoryLeavesFileAndCreatesNothing) {
    SKIP_IF_ROOT();
    putFile(m_path, bytes(kAb));
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_EQ(WriteIniValue(m_path, "s", "a", "9"), "0");
    EXPECT_EQ(entries(m_dir.path()), QStringList{"SetValve.ini"});
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    EXPECT_EQ(fileBytes(m_path), bytes(kAb));
}

TEST_F(ReadIniTest, DirectoryOrDeviceWhereTheFileShouldBe) {
    ASSERT_TRUE(QDir().mkdir(m_path));
    EXPECT_EQ(WriteIniValue(m_path, "s", "a", "1"), "0");
    EXPECT_EQ(ReadIniValue(m_path, "s", "a", kNone), kNone);
    EXPECT_TRUE(QFileInfo(m_path).isDir());

    // A link to an endless device: reading must neither block nor try to hold it all.
    ASSERT_TRUE(QDir().rmdir(m_path));
    ASSERT_TRUE(QFile::link("/dev/zero", m_path));
    EXPECT_EQ(ReadIniValue(m_path, "s", "a", kNone), kNone);
    EXPECT_EQ(WriteIniValue(m_path, "s", "a", "1"), "0");
}

TEST_F(ReadIniTest, FileSizeLimitLeavesTheOldFileWhole) {
    const QByteArray before = "[s]\r\na=" + QByteArray(3000, 'x') + "\r\n";
    putFile(m_path, before);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // In a child of its own, so the limit binds no other test.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{4096, 4096};
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool refused = WriteIniValue(m_path, "s", "a", QString(5000, u'y')) == "0";
        _exit(refused ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write was not refused";
    EXPECT_EQ(fileBytes(m_path), before);
    EXPECT_EQ(entries(m_dir.path()), QStringList{"SetValve.ini"});
}

TEST_F(ReadIniTest, VanishedFileOrDirectory) {
    ASSERT_EQ(WriteIniValue(m_path, "s", "a", "1"), "1");
    ASSERT_TRUE(QFile::remove(m_path));
    EXPECT_EQ(ReadIniValue(m_path, "s", "a", kNone), kNone);
    EXPECT_EQ(WriteIniValue(m_path, "s", "b", "2"), "1");
    EXPECT_EQ(fileBytes(m_path), "[s]\r\nb=2\r\n");

    ASSERT_TRUE(m_dir.remove());
    EXPECT_EQ(WriteIniValue(m_path, "s", "a", "1"), "0");
    EXPECT_FALSE(QFileInfo::exists(m_dir.path()));
}

TEST_F(ReadIniTest, LinkStaysALinkAndPermissionsStay) {
    const QString target = m_dir.filePath("target.ini");
    putFile(target, bytes(kAb));
    const auto mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(target, mode));
    ASSERT_TRUE(QFile::link("target.ini", m_path));
    EXPECT_EQ(WriteIniValue(m_path, "s", "a", "9"), "1");
    EXPECT_TRUE(QFileInfo(m_path).isSymLink());
    EXPECT_EQ(fileBytes(target), "[s]\r\na=9\r\nb=2\r\n");
    EXPECT_EQ(QFile::permissions(target) & ~(QFile::ReadUser | QFile::WriteUser), mode);
}

TEST_F(ReadIniTest, FiftyMegabyteFileAndMegabyteLine) {
    QByteArray big = "[s]\r\n";
    const QByteArray filler = "filler=" + QByteArray(91, 'f') + "\r\n";
    while (big.size() < 50 * 1024 * 1024) big += filler;
    const QByteArray before = big + "target=old\r\nlong=" + QByteArray(1024 * 1024, 'x') + "\r\n";
    putFile(m_path, before);

    EXPECT_EQ(ReadIniValue(m_path, "s", "target", kNone), "old");
    EXPECT_EQ(ReadIniValue(m_path, "s", "long", kNone), QString(253, u'x'));
    ASSERT_EQ(WriteIniValue(m_path, "s", "long", "short"), "1");
    ASSERT_EQ(WriteIniValue(m_path, "s", "new", "1"), "1");
    EXPECT_TRUE(fileBytes(m_path) == big + "target=old\r\nlong=short\r\nnew=1\r\n");
}

}  // namespace

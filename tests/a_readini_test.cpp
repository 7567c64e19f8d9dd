// SPDX-License-Identifier: GPL-3.0-or-later
// Tests of `A_readini`: the settings file's layout byte for byte, and real file-system faults.
#include "settings/a_readini.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <functional>
#include <string_view>

#include "settings/file_locations.h"
#include "settings/write_lock.h"
#include "tests/qt_printers.h"
#include "tests/test_files.h"
#include "tests/test_users.h"

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

// The names in `dir`, sorted by their code units.
QStringList entries(const QString& dir) {
    QStringList names =
        QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    names.sort();
    return names;
}

class ReadIniTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QString m_path = fileLocationsIn(m_dir.path()).settingsFile;
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
    {"[ without ] ends a section", "[s]\r\n[x\r\na=1\r\n", false, "s", "a", kNone, kNone, {}},
    {"and opens one named up to the line end",
     "[ x y \t\r\na=1\r\n", false, "x y", "a", kNone, "1", {}},
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
    {"key added to a section without ]",
     "[s \r\na=1\r\n", true, "s", "b", "2", "1", "[s \r\na=1\r\nb=2\r\n"},

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

const QList<std::pair<QString, QString>> kFirstRunEntries = {
    {QStringLiteral("SetOnTop"), QStringLiteral("0")},
    {QStringLiteral("WebOnline"), QStringLiteral("https://tinglan.example/")},
    {QStringLiteral("ToolTipText"), QStringLiteral("请记住本站通用域名:https://tinglan.example/")},
    {QStringLiteral("About"), QStringLiteral("汀兰码音开发组 出品")},
    {QStringLiteral("MeTitle"), QStringLiteral("汀兰码音检字百宝箱 V1.0")},
    {QStringLiteral("MeLabel1"), QStringLiteral("五笔编码:")},
    {QStringLiteral("MeLabel2"), QStringLiteral("汉语拼音:")},
    {QStringLiteral("MeLabel3"), QStringLiteral("输入汉字:")},
    {QStringLiteral("MeSetOnTop"), QStringLiteral("总在最上:")},
    {QStringLiteral("MeCmmsearch"), QStringLiteral("查询")},
};

TEST_F(ReadIniTest, FirstRunKeysInOrderThenOneValueChanged) {
    for (const auto& [key, value] : kFirstRunEntries) {
        EXPECT_EQ(WriteIniValue(m_path, kSection, key, value), "1") << key.toStdString();
    }
    const QByteArray tenKeys = golden("setvalve_first_run.ini");
    EXPECT_EQ(fileBytes(m_path), tenKeys);

    EXPECT_EQ(WriteIniValue(m_path, kSection, "SetOnTop", "1"), "1");
    EXPECT_EQ(fileBytes(m_path), QByteArray(tenKeys).replace("SetOnTop=0", "SetOnTop=1"));
    QStringList keys = {"Missing", "a=b", ""};
    for (const auto& [key, value] : kFirstRunEntries) {
        keys.append(key);
        if (key != u"SetOnTop") {
            EXPECT_EQ(ReadIniValue(m_path, kSection, key, kNone), value) << key.toStdString();
        }
    }
    QStringList oneByOne;
    for (const QString& key : keys) oneByOne.append(ReadIniValue(m_path, kSection, key, {}));
    EXPECT_EQ(ReadIniValues(m_path, kSection, keys), oneByOne);
    EXPECT_EQ(entries(m_dir.path()), QStringList{"SetValve.ini"}) << "no lock file left";
}

TEST_F(ReadIniTest, NewFileWrittenAllOrNothing) {
    EXPECT_EQ(WriteNewIniFile(m_path, kSection, {{"a", "1"}, {"b=", "2"}}), "0");
    EXPECT_FALSE(QFileInfo::exists(m_path)) << "a refused entry writes nothing";
    EXPECT_EQ(WriteNewIniFile(m_path, kSection, kFirstRunEntries), "1");
    EXPECT_EQ(fileBytes(m_path), golden("setvalve_first_run.ini"));
    EXPECT_EQ(WriteNewIniFile(m_path, kSection, {{"SetOnTop", "1"}}), "0");
    EXPECT_EQ(fileBytes(m_path), golden("setvalve_first_run.ini")) << "an existing file stays";

    // A child that creates the file again and again, killed at moments spread over its work.
    const QByteArray path = QFile::encodeName(m_path);
    for (int pause = 0; pause < 40; ++pause) {
        SCOPED_TRACE(pause);
        unlink(path.constData());
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives a test run cut short
            for (;;) {
                WriteNewIniFile(m_path, kSection, kFirstRunEntries);
                unlink(path.constData());
            }
        }
        usleep(useconds_t(200 + 100 * pause));
        kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, nullptr, 0), child);
        if (QFileInfo::exists(m_path)) {
            EXPECT_EQ(fileBytes(m_path), golden("setvalve_first_run.ini"));
        }
    }
    unlink(path.constData());
    EXPECT_EQ(WriteNewIniFile(m_path, kSection, kFirstRunEntries), "1");
    EXPECT_FALSE(QFileInfo::exists(m_path + ".lock")) << "a killed writer's lock file is gone";
}

TEST_F(ReadIniTest, TwoWritersAtOnceLoseNoKey) {
    QStringList keys[2];
    for (int i = 0; i < 150; ++i) {
        keys[0].append(QString("a%1").arg(i));
        keys[1].append(QString("b%1").arg(i));
    }
    pid_t children[2];
    for (int writer = 0; writer < 2; ++writer) {
        if ((children[writer] = fork()) == 0) {
            // On a loaded machine the other writer may hold the lock past the wait: that write
            // is refused, not lost, and the writer tries it again. A key lost is one that was
            // written ("1") and is missing in the end.
            for (const QString& key : keys[writer]) {
                for (int tries = 1; WriteIniValue(m_path, "s", key, key) != "1"; ++tries) {
                    if (tries == 50) _exit(1);
                }
            }
            _exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_EQ(status, 0) << "a write was refused again and again";
    }
    EXPECT_EQ(ReadIniValues(m_path, "s", keys[0] + keys[1]), keys[0] + keys[1]);
    EXPECT_EQ(entries(m_dir.path()), QStringList{"SetValve.ini"});
}

// Starts another writer that holds the lock of `directory` until it is killed; its pid, or -1.
pid_t holdLock(const QString& directory) {
    int ready[2];
    if (pipe(ready) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);  // never outlives a test run cut short
        const ProfileWriteLock lock(QFile::encodeName(directory));
        if (lock.allowsWriting()) (void)!write(ready[1], "1", 1);
        pause();
        _exit(0);
    }
    char held = 0;
    const bool told = read(ready[0], &held, 1) == 1;
    close(ready[0]);
    close(ready[1]);
    return told ? child : -1;
}

void killAndWait(pid_t child) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
}

// The entries of a /proc/self directory: the process's descriptors or threads.
qsizetype countOf(const char* directory) {
    return QDir(directory).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size();
}

TEST_F(ReadIniTest, AWriterHeldUpByAnotherGivesUpAndKeepsNothing) {
    putFile(m_path, bytes(kAb));
    const pid_t holder = holdLock(m_dir.path());
    ASSERT_GT(holder, 0);
    const qsizetype descriptors = countOf("/proc/self/fd");
    const qsizetype threads = countOf("/proc/self/task");
    EXPECT_EQ(WriteIniValue(m_path, "s", "a", "9"), "0");
    EXPECT_EQ(WriteNewIniFile(m_dir.filePath("new.ini"), "s", {{"a", "9"}}), "0");
    EXPECT_EQ(countOf("/proc/self/fd"), descriptors);
    EXPECT_EQ(countOf("/proc/self/task"), threads);
    EXPECT_EQ(fileBytes(m_path), bytes(kAb));
    killAndWait(holder);  // the kernel lets a dead holder's lock go
    EXPECT_EQ(WriteIniValue(m_path, "s", "a", "9"), "1");
    EXPECT_EQ(entries(m_dir.path()), QStringList{"SetValve.ini"});
}

TEST_F(ReadIniTest, CrashedWriterLeavesNothingInTheWay) {
    // A writer killed while it holds the lock, and the temporary file of a save killed between
    // its write and its rename.
    const pid_t holder = holdLock(m_dir.path());
    ASSERT_GT(holder, 0);
    killAndWait(holder);
    putFile(m_dir.filePath(".SetValve.ini.tinglan-new-Ab3xY9"), "[s]\r\n");

    // The user's own files, however their names look, and lock paths planted in every form.
    const QStringList others = {"SetValve.ini.AbqxYz",
                                "SetValve.ini.myCopy",
                                "SetValve.ini.oldBak",
                                "SetValve.ini.orIGin",
                                "SetValve.ini.kDEbak",
                                "SetValve.ini.backup",
                                ".SetValve.ini.tinglan-new-Ab3xY",
                                ".SetValve.ini.tinglan-new-Ab3xY9z",
                                ".SetValve.ini.tinglan-new-Ab_xY9",
                                ".other.ini.tinglan-new-Ab3xY9",
                                "SetValve.ini.lock",
                                ".SetValve.ini.lock"};
    for (const QString& name : others) putFile(m_dir.filePath(name), "keep");
    ASSERT_TRUE(QFile::setPermissions(m_dir.filePath(".SetValve.ini.lock"), {}));
    const QStringList planted = {"SetValve.ini.lock.fifo", "SetValve.ini.lock.link",
                                 ".SetValve.ini.tinglan-new-DirAbc", "lock"};
    ASSERT_EQ(mkfifo(QFile::encodeName(m_dir.filePath(planted[0])).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/nonexistent", m_dir.filePath(planted[1])));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(planted[2]));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(planted[3]));
    for (const char* value : {"1", "2"}) {
        EXPECT_EQ(WriteIniValue(m_path, "s", "a", value), "1");
        EXPECT_EQ(fileBytes(m_path), QByteArray("[s]\r\na=") + value + "\r\n");
    }
    QStringList left = others + planted + QStringList{"SetValve.ini"};
    left.sort();
    EXPECT_EQ(entries(m_dir.path()), left);
    ASSERT_TRUE(QFile::setPermissions(m_dir.filePath(".SetValve.ini.lock"), QFile::ReadOwner));
    for (const QString& name : others) {
        EXPECT_EQ(fileBytes(m_dir.filePath(name)), "keep") << name.toStdString();
    }
}

TEST_F(ReadIniTest, OwnerAndGroupKeptOrNothingWrittenAsRoot) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    const TestUser user = testUser(kTestUserName).value_or(TestUser{65534, 65534});
    const auto [uid, gid] = user;
    ASSERT_EQ(chmod(QFile::encodeName(m_dir.path()).constData(), 0777), 0);
    const struct {
        const char* what;
        uid_t owner;
        gid_t group;
        bool writerIsUser;
        const char* result;
    } cases[] = {
        {"root writes a user's file", uid, gid, false, "1"},
        {"a user writes root's file", 0, 0, true, "0"},
        {"a user writes its file of a group it is not in", uid, 0, true, "0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        putFile(m_path, bytes(kAb));
        const QByteArray path = QFile::encodeName(m_path);
        ASSERT_EQ(chown(path.constData(), c.owner, c.group), 0);
        ASSERT_EQ(chmod(path.constData(), 0664), 0);
        const bool wrote = inChild([&] { return WriteIniValue(m_path, "s", "a", "9") == c.result; },
                                   c.writerIsUser ? std::optional(user) : std::nullopt);
        EXPECT_TRUE(wrote);
        struct stat info {};
        ASSERT_EQ(stat(path.constData(), &info), 0);
        EXPECT_EQ(info.st_uid, c.owner);
        EXPECT_EQ(info.st_gid, c.group);
        EXPECT_EQ(info.st_mode & 07777, 0664u);
        EXPECT_EQ(fileBytes(m_path), c.result == "1"sv ? "[s]\r\na=9\r\nb=2\r\n" : bytes(kAb));
        EXPECT_EQ(entries(m_dir.path()), QStringList{"SetValve.ini"});
    }
}

// In a directory that others may write, another user's link to the victim's file, or to
// nothing, is never followed; root's link is followed to a file, but never to make one.
TEST_F(ReadIniTest, OnlyTheUsersOwnOrRootsLinksAreFollowedAsRoot) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can set up the files of two other users";
    const std::optional<TestUser> victim = testUser(kTestUserName);
    const std::optional<TestUser> other = testUser(kOtherUserName);
    if (!victim || !other) GTEST_SKIP() << "tools/test.sh makes tinglan-test and tinglan-other";
    const struct {
        const char* what;
        std::optional<TestUser> linkOwner;  // nothing: root
        bool toAFile;
        const char* read;
        const char* written;
    } cases[] = {
        {"another user's link to the victim's file", other, true, "<none>", "0"},
        {"another user's dangling link", other, false, "<none>", "0"},
        {"root's link to the victim's file", std::nullopt, true, "1", "1"},
        {"root's dangling link", std::nullopt, false, "<none>", "0"},
    };
    for (const mode_t mode : {0777, 01777}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << ", directory mode " << std::oct << mode);
            QTemporaryDir directory;
            ASSERT_EQ(chmod(QFile::encodeName(directory.path()).constData(), mode), 0);
            const QString target = directory.filePath("victim.ini");
            if (c.toAFile) {
                putFile(target, bytes(kAb));
                ASSERT_EQ(chown(QFile::encodeName(target).constData(), victim->uid, victim->gid),
                          0);
            }
            const QString path = fileLocationsIn(directory.path()).settingsFile;
            ASSERT_TRUE(inChild([&] { return QFile::link(target, path); }, c.linkOwner));
            EXPECT_TRUE(inChild(
                [&] {
                    return ReadIniValue(path, "s", "a", kNone) == c.read &&
                           WriteIniValue(path, "s", "a", "9") == c.written &&
                           WriteNewIniFile(path, "s", {{"a", "9"}}) == "0";
                },
                victim));
            const bool followed = c.written == "1"sv;
            EXPECT_EQ(fileBytes(target), !c.toAFile ? QByteArray("<unreadable>")
                                         : followed ? QByteArray("[s]\r\na=9\r\nb=2\r\n")
                                                    : bytes(kAb));
            EXPECT_TRUE(QFileInfo(path).isSymLink());
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

// What lies at the path as lstat() sees it, and a link's target: a refused write keeps it.
QString pathState(const QString& path) {
    struct stat info {};
    if (lstat(QFile::encodeName(path).constData(), &info) != 0) return "missing";
    return QString("mode %1 size %2 -> %3")
        .arg(info.st_mode, 0, 8)
        .arg(info.st_size)
        .arg(QFileInfo(path).symLinkTarget());
}

TEST_F(ReadIniTest, NoRegularFileOfAtMostOneMebibyteIsReadOrWritten) {
    const QByteArray start = "[s]\r\na=1\r\n";
    const QString other = m_dir.filePath("other.ini");
    const struct {
        const char* what;
        std::function<bool()> make;
    } cases[] = {
        {"a directory", [&] { return QDir().mkdir(m_path); }},
        {"a link to an endless device", [&] { return QFile::link("/dev/zero", m_path); }},
        {"a link to an endless file", [&] { return QFile::link("/proc/self/pagemap", m_path); }},
        {"a FIFO", [&] { return mkfifo(QFile::encodeName(m_path).constData(), 0600) == 0; }},
        {"a 3 GB sparse file",
         [&] {
             QFile file(m_path);
             return file.open(QIODevice::WriteOnly) && file.write(start) == start.size() &&
                    file.resize(qint64(3) << 30);
         }},
        {"one byte over 1 MiB",
         [&] {
             putFile(m_path, start + QByteArray(1024 * 1024 + 1 - start.size(), ';'));
             return true;
         }},
        {"a link to itself", [&] { return QFile::link("SetValve.ini", m_path); }},
        {"a dangling link", [&] { return QFile::link("other.ini", m_path); }},
        {"two links at each other",
         [&] { return QFile::link("other.ini", m_path) && QFile::link("SetValve.ini", other); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.make());
        const QString before = pathState(m_path);
        EXPECT_EQ(ReadIniValue(m_path, "s", "a", kNone), kNone);
        EXPECT_EQ(ReadIniValues(m_path, "s", {"a"}), QStringList{QString()});
        EXPECT_EQ(WriteIniValue(m_path, "s", "a", "2"), "0");
        EXPECT_EQ(WriteNewIniFile(m_path, "s", {{"a", "2"}}), "0");
        EXPECT_EQ(pathState(m_path), before);
        const QByteArray name = QFile::encodeName(m_path);
        ASSERT_TRUE(unlink(name.constData()) == 0 || rmdir(name.constData()) == 0);
        QFile::remove(other);
        EXPECT_EQ(entries(m_dir.path()), QStringList{}) << "nothing left beside it";
    }
}

TEST_F(ReadIniTest, OneMebibyteFileWithALongLine) {
    const QByteArray head = "[s]\r\ntarget=old\r\nlong=";
    const QByteArray before = head + QByteArray(1024 * 1024 - head.size() - 2, 'x') + "\r\n";
    putFile(m_path, before);
    EXPECT_EQ(ReadIniValue(m_path, "s", "target", kNone), "old");
    EXPECT_EQ(ReadIniValue(m_path, "s", "long", kNone), QString(253, u'x'));
    EXPECT_EQ(WriteIniValue(m_path, "s", "new", "1"), "0") << "the file would be unreadable";
    EXPECT_EQ(fileBytes(m_path), before);
    ASSERT_EQ(WriteIniValue(m_path, "s", "long", "short"), "1");
    ASSERT_EQ(WriteIniValue(m_path, "s", "new", "1"), "1");
    EXPECT_EQ(fileBytes(m_path), "[s]\r\ntarget=old\r\nlong=short\r\nnew=1\r\n");
}

TEST_F(ReadIniTest, FileSizeLimitLeavesTheOldFileWhole) {
    const struct {
        const char* what;
        QByteArray before;
        QString key;
        QString value;
    } cases[] = {
        {"a value far over the limit", "[s]\r\na=" + QByteArray(3000, 'x') + "\r\n", "a",
         QString(5000, u'y')},
        // The last bytes only are cut: a writer that trusts one write() would commit the rest.
        {"a new key appended across the limit", "[s]\r\na=" + QByteArray(4080, 'x') + "\r\n", "b",
         QString(20, u'y')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        putFile(m_path, c.before);
        const bool refused = inChild([&] {
            // In a child of its own, so the limit binds no other test.
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &limit);
            return WriteIniValue(m_path, "s", c.key, c.value) == "0";
        });
        EXPECT_TRUE(refused);
        EXPECT_EQ(fileBytes(m_path), c.before);
        EXPECT_EQ(entries(m_dir.path()), QStringList{"SetValve.ini"});
    }
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

}  // namespace

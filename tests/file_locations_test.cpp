// SPDX-License-Identifier: GPL-3.0-or-later
// Where the two files live: the program directory where it is the user's own, else the per-user
// ones.
#include "settings/file_locations.h"

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>

#include "tests/test_users.h"

namespace {

using namespace Qt::StringLiterals;

// Points the XDG base directories into a scratch directory for the life of the fixture.
class FileLocationsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_home.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(u"config"_s)));
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_home.filePath(u"data"_s)));
    }
    void TearDown() override {
        qunsetenv("XDG_CONFIG_HOME");
        qunsetenv("XDG_DATA_HOME");
    }

    FileLocations perUser() const {
        return {m_home.filePath(u"config/tinglan/SetValve.ini"_s),
                m_home.filePath(u"data/tinglan/历史记录.txt"_s)};
    }

    QTemporaryDir m_home;
    QTemporaryDir m_program;
};

void expectLocations(const FileLocations& actual, const FileLocations& expected) {
    EXPECT_EQ(actual.settingsFile, expected.settingsFile);
    EXPECT_EQ(actual.historyFile, expected.historyFile);
}

TEST_F(FileLocationsTest, OnlyTheUsersOwnProgramDirectoryHoldsBothFiles) {
    const FileLocations beside = {m_program.filePath(u"SetValve.ini"_s),
                                  m_program.filePath(u"历史记录.txt"_s)};
    const struct {
        const char* what;
        mode_t mode;
        bool holds;
    } cases[] = {
        {"the user's own", 0755, true},
        {"writable by the user's own group", 0775, true},
        {"writable by others", 0757, false},
        {"writable by all", 0777, false},
        {"writable by all, sticky", 01777, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(chmod(QFile::encodeName(m_program.path()).constData(), c.mode), 0);
        expectLocations(resolveFileLocations(m_program.path()), c.holds ? beside : perUser());
        // The rows that hold come first: until then nothing is made for the user.
        if (c.holds) {
            EXPECT_FALSE(QFileInfo::exists(m_home.filePath(u"config"_s)));
        }
    }
    ASSERT_EQ(chmod(QFile::encodeName(m_program.path()).constData(), 0700), 0);

    // A copy of a system tree (an unpacked package) is no program directory of the user's.
    for (const QString& tree : {u"usr/bin"_s, u"x/usr/local/bin"_s, u"usr/games"_s}) {
        SCOPED_TRACE(tree.toStdString());
        ASSERT_TRUE(QDir(m_program.path()).mkpath(tree));
        expectLocations(resolveFileLocations(m_program.filePath(tree)), perUser());
    }
    expectLocations(resolveFileLocations(u"/usr/bin"_s), perUser());
}

// The other users' directories: one whose group holds others, and one that another user owns.
TEST_F(FileLocationsTest, AnotherUsersProgramDirectoryHoldsNothingAsRoot) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can give a directory to another user";
    const std::optional<TestUser> user = testUser(kTestUserName);
    if (!user) GTEST_SKIP() << "tools/test.sh makes tinglan-test";
    const QByteArray program = QFile::encodeName(m_program.path());
    // The root group is root's own group, so it holds more than the user.
    ASSERT_EQ(chown(QFile::encodeName(m_home.path()).constData(), user->uid, user->gid), 0);
    ASSERT_EQ(chown(program.constData(), user->uid, 0), 0);
    ASSERT_EQ(chmod(program.constData(), 0775), 0);
    EXPECT_TRUE(inChild(
        [&] {
            return resolveFileLocations(m_program.path()).settingsFile == perUser().settingsFile;
        },
        user));

    ASSERT_EQ(chown(program.constData(), user->uid, user->gid), 0);
    ASSERT_EQ(chmod(program.constData(), 0755), 0);
    EXPECT_NE(resolveFileLocations(m_program.path()).settingsFile,
              m_program.filePath(u"SetValve.ini"_s));
}

TEST_F(FileLocationsTest, OtherwiseThePerUserDirectoriesAreMadeAndUsed) {
    // A folder named in GBK bytes has no text that names it: it counts as unwritable.
    const QByteArray gbkName = QFile::encodeName(m_program.path()) + "/\xBA\xBA\xD7\xD6";
    ASSERT_EQ(::mkdir(gbkName.constData(), 0755), 0);
    ASSERT_EQ(representablePath(gbkName), std::nullopt);
    ASSERT_EQ(representablePath(QFile::encodeName(m_program.path())), m_program.path());

    expectLocations(resolveFileLocations(representablePath(gbkName)), perUser());
    for (const QString& directory : {u"config/tinglan"_s, u"data/tinglan"_s}) {
        const QFileInfo info(m_home.filePath(directory));
        EXPECT_TRUE(info.isDir()) << directory.toStdString();
        EXPECT_EQ(info.permissions() & 0x0077, 0) << directory.toStdString();
    }
    // Once made, the same directories are taken again.
    expectLocations(resolveFileLocations(std::nullopt), perUser());
}

TEST_F(FileLocationsTest, ReadOnlyPlacesAreNeverReplacedByTheCurrentDirectory) {
    if (geteuid() == 0) GTEST_SKIP() << "root writes anywhere; run as an unprivileged user";
    ASSERT_TRUE(QFile::setPermissions(m_program.path(), QFile::ReadOwner | QFile::ExeOwner));
    expectLocations(resolveFileLocations(m_program.path()), perUser());

    ASSERT_TRUE(QFile::setPermissions(m_home.path(), QFile::ReadOwner | QFile::ExeOwner));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(u"new-config"_s)));
    const FileLocations nowhere = resolveFileLocations(m_program.path());
    EXPECT_EQ(nowhere.settingsFile, QString());
    EXPECT_EQ(nowhere.historyFile, perUser().historyFile);
    for (const QString& path : {m_program.path(), m_home.path()}) {
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

// The per-user base directories as the XDG Base Directory rules have them: relative
// values ignored, the password database's home without a usable HOME, never the root.
TEST(PerUserBaseDirectory, FollowsTheXdgRulesAndNeverNamesTheRoot) {
    const passwd* const user = getpwuid(geteuid());
    ASSERT_NE(user, nullptr);
    const QByteArray databaseHome = user->pw_dir;
    const std::optional<QByteArray> databaseConfig =
        databaseHome == "/" ? std::nullopt : std::optional(databaseHome + "/.config");
    const char* const unset = nullptr;
    const struct {
        const char* home;
        const char* value;
        std::optional<QByteArray> base;
    } cases[] = {
        {"/h", unset, "/h/.config"}, {"/h", "/x/conf", "/x/conf"},   {"/h", "conf", "/h/.config"},
        {"/h", "", "/h/.config"},    {"/h", "./conf", "/h/.config"}, {unset, unset, databaseConfig},
        {"", unset, databaseConfig}, {"h", "conf", databaseConfig},  {"/", unset, std::nullopt},
        {"//", unset, std::nullopt}, {"/h", "/", std::nullopt},
    };
    const QByteArray savedHome = qgetenv("HOME");
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "HOME " << (c.home ? c.home : "unset")
                                        << ", XDG_CONFIG_HOME " << (c.value ? c.value : "unset"));
        c.home ? qputenv("HOME", c.home) : qunsetenv("HOME");
        c.value ? qputenv("XDG_CONFIG_HOME", c.value) : qunsetenv("XDG_CONFIG_HOME");
        EXPECT_EQ(perUserBaseDirectory("XDG_CONFIG_HOME", ".config"), c.base);
    }
    qputenv("HOME", "/h");
    qputenv("XDG_DATA_HOME", "share");
    EXPECT_EQ(perUserBaseDirectory("XDG_DATA_HOME", ".local/share"), "/h/.local/share");
    qputenv("HOME", savedHome);
    qunsetenv("XDG_CONFIG_HOME");
    qunsetenv("XDG_DATA_HOME");
}

TEST_F(FileLocationsTest, RelativeVariablesGiveTheHomesDirectoriesAndAMissingHomeNone) {
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("XDG_CONFIG_HOME", "config");
    qputenv("XDG_DATA_HOME", "data");
    qputenv("HOME", QFile::encodeName(m_home.path()));
    expectLocations(resolveFileLocations(std::nullopt),
                    {m_home.filePath(u".config/tinglan/SetValve.ini"_s),
                     m_home.filePath(u".local/share/tinglan/历史记录.txt"_s)});
    EXPECT_EQ(QFileInfo(m_home.filePath(u".local"_s)).permissions() & 0x0077, 0);

    qputenv("HOME", QFile::encodeName(m_home.filePath(u"gone"_s)));
    expectLocations(resolveFileLocations(std::nullopt), {});
    EXPECT_FALSE(QFileInfo::exists(m_home.filePath(u"gone"_s))) << "a home is never made";
    qputenv("HOME", savedHome);
}

TEST(ExecutableDirectory, IsTheDirectoryOfTheRunningProgram) {
    const std::optional<QString> directory = executableDirectory();
    ASSERT_TRUE(directory.has_value());
    EXPECT_TRUE(QFileInfo::exists(QDir(*directory).filePath(u"file_locations_test"_s)));
}

}  // namespace

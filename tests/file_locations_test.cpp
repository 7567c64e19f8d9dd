// SPDX-License-Identifier: GPL-3.0-or-later
// Where the two files live: the program directory where it is writable, else the per-user ones.
#include "settings/file_locations.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <optional>

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

TEST_F(FileLocationsTest, WritableProgramDirectoryHoldsBothFiles) {
    expectLocations(resolveFileLocations(m_program.path()),
                    {m_program.filePath(u"SetValve.ini"_s), m_program.filePath(u"历史记录.txt"_s)});
    EXPECT_FALSE(QFileInfo::exists(m_home.filePath(u"config"_s)));
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

TEST(ExecutableDirectory, IsTheDirectoryOfTheRunningProgram) {
    const std::optional<QString> directory = executableDirectory();
    ASSERT_TRUE(directory.has_value());
    EXPECT_TRUE(QFileInfo::exists(QDir(*directory).filePath(u"file_locations_test"_s)));
}

}  // namespace

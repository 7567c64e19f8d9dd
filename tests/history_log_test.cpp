// SPDX-License-Identifier: GPL-3.0-or-later
#include "query/history_log.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <utility>

#include "query/query_window.h"
#include "tests/test_files.h"
#include "tests/test_users.h"

namespace {

using namespace Qt::StringLiterals;

constexpr qsizetype kHeaderSize = 424;

// A window that counts focus requests and keeps messages: the history step's only uses of it.
class FakeWindow : public QueryWindow {
public:
    QString inputText() const override { return {}; }
    void setInputText(const QString&) override {}
    void focusInput() override { ++m_focusCount; }
    void setWubiResult(const QString&) override {}
    void setPinyinResult(const QString&) override {}
    void showMessage(const QString& text) override { m_messages << text; }

    int focusCount() const { return m_focusCount; }
    const QStringList& messages() const { return m_messages; }

private:
    int m_focusCount = 0;
    QStringList m_messages;
};

QString historyPathIn(const QString& directory) {
    return QDir(directory).filePath(u"历史记录.txt"_s);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// The record lines of a golden file, each with its CR LF.
QList<QByteArray> goldenRecords(const char* name) {
    QList<QByteArray> lines = golden(name).mid(kHeaderSize).split('\n');
    lines.removeLast();  // what follows the last line end
    for (QByteArray& line : lines) {
        line += '\n';
    }
    return lines;
}

// The UTF-16 code units of `text` in hex, lone surrogates included.
QByteArray codeUnits(const QString& text) {
    QByteArray units;
    for (const QChar unit : text) {
        units += QByteArray::number(unit.unicode(), 16) + ' ';
    }
    return units.trimmed();
}

// The queries behind tests/data/history_records.txt, one per record line.
struct Query {
    QString text;
    QString wubi;
    QString pinyin;
};

QList<Query> recordedQueries() {
    const QChar highSurrogate(0xD83D);
    const QChar lowSurrogate(0xDE00);
    return {
        {u"啊"_s, u"kb"_s, u"a"_s},
        {u"我"_s, u"q"_s, {}},
        {u"你"_s, u"None!"_s, {}},
        {u" "_s, u"None!"_s, {}},
        {u"A"_s, u"None!"_s, {}},
        {u"😀"_s, u"None!"_s, {}},
        {QString(highSurrogate), u"None!"_s, {}},
        {QString(lowSurrogate), u"None!"_s, {}},
        {u"都"_s, u"ftjb"_s, u"dou"_s},
        {u"a😀b"_s + highSurrogate, u"None!"_s, {}},
    };
}

// Runs `body` in a child process that has at most `seconds` to finish; returns its wait status.
int runInChild(const std::function<void()>& body, unsigned seconds = 10) {
    const pid_t child = fork();
    if (child == 0) {
        alarm(seconds);
        body();
        _exit(0);
    }
    int status = -1;
    waitpid(child, &status, 0);
    return status;
}

bool exitedCleanly(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }

class HistoryLogTest : public ::testing::Test {
protected:
    QString historyPath() const { return historyPathIn(m_dir.path()); }

    void record(const QString& text, const QString& wubi, const QString& pinyin) {
        FakeWindow window;
        wbscdaochu(window, historyPath(), text, wubi, pinyin);
        EXPECT_EQ(window.messages(), QStringList()) << "a record asks for nothing";
    }

    QTemporaryDir m_dir;
};

TEST_F(HistoryLogTest, FirstQueryWritesHeaderAndRecord) {
    ASSERT_EQ(golden("history_after_a.txt").size(), 458);
    record(u"啊"_s, u"kb"_s, u"a"_s);
    EXPECT_EQ(readAll(historyPath()), golden("history_after_a.txt"));
}

TEST_F(HistoryLogTest, QueriesAppendOneLineEachUnderOneHeader) {
    const QList<Query> queries = recordedQueries();
    const QList<QByteArray> expected = goldenRecords("history_records.txt");
    ASSERT_EQ(queries.size(), expected.size());
    for (const Query& query : queries) {
        record(query.text, query.wubi, query.pinyin);
    }
    const QByteArray written = readAll(historyPath());
    EXPECT_EQ(written.left(kHeaderSize), golden("history_records.txt").left(kHeaderSize));
    QByteArray rest = written.mid(kHeaderSize);
    for (qsizetype i = 0; i < queries.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "query " << i << " (UTF-16 "
                                        << codeUnits(queries[i].text).constData() << ")");
        EXPECT_EQ(rest.left(expected[i].size()), expected[i]);
        rest.remove(0, expected[i].size());
    }
    EXPECT_TRUE(rest.isEmpty()) << "bytes beyond the last record: " << rest.toHex(' ').constData();
}

TEST_F(HistoryLogTest, DeletedFileStartsAnewWithHeader) {
    record(u"我"_s, u"q"_s, {});
    ASSERT_TRUE(QFile::remove(historyPath()));
    record(u"啊"_s, u"kb"_s, u"a"_s);
    EXPECT_EQ(readAll(historyPath()), golden("history_after_a.txt"));
}

TEST_F(HistoryLogTest, ExistingFileNeverGetsHeader) {
    const QByteArray recordLine = golden("history_after_a.txt").mid(kHeaderSize);
    const struct {
        const char* name;
        QByteArray content;
    } cases[] = {
        {"empty file", {}},
        {"header removed by the user", "my own notes\r\n"},
        {"last line without its end", "half a line"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeAll(historyPath(), c.content);
        record(u"啊"_s, u"kb"_s, u"a"_s);
        EXPECT_EQ(readAll(historyPath()), c.content + recordLine);
    }
}

TEST_F(HistoryLogTest, SymlinkToFileCountsAsFound) {
    const QString target = m_dir.filePath(u"elsewhere.txt"_s);
    writeAll(target, "kept\r\n");
    ASSERT_TRUE(QFile::link(target, historyPath()));
    record(u"啊"_s, u"kb"_s, u"a"_s);
    EXPECT_EQ(readAll(target), "kept\r\n" + golden("history_after_a.txt").mid(kHeaderSize));
    EXPECT_TRUE(QFileInfo(historyPath()).isSymLink());
}

// The code page's own characters beyond GB 2312 are written as it holds them, "?" only for
// what it lacks.
TEST_F(HistoryLogTest, RecordsUseTheWholeCodePage) {
    const struct {
        QString text;
        QByteArray bytes;
    } cases[] = {
        {u"€"_s, "\x80"},     {u"\uE000"_s, "\xAA\xA1"}, {u"·"_s, "\xA1\xA4"},
        {u"—"_s, "\xA1\xAA"}, {u"\uFFFD"_s, "?"},        {u"\u0E01"_s, "?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(codeUnits(c.text).constData());
        QFile::remove(historyPath());
        record(c.text, u"None!"_s, {});
        EXPECT_EQ(readAll(historyPath()).mid(kHeaderSize).split(' ').first(), c.bytes);
    }
}

// A link is never followed to create a file: a dangling one, of one link or two, stays so.
TEST_F(HistoryLogTest, DanglingLinkMakesNoFile) {
    for (const int links : {1, 2}) {
        SCOPED_TRACE(testing::Message() << links << " link(s)");
        const QString target = m_dir.filePath(u"later.txt"_s);
        QString next = target;
        for (int i = links; i > 1; --i) {
            const QString link = m_dir.filePath(u"link%1"_s.arg(i));
            ASSERT_TRUE(QFile::link(next, link));
            next = link;
        }
        ASSERT_TRUE(QFile::link(next, historyPath()));
        record(u"啊"_s, u"kb"_s, u"a"_s);
        EXPECT_FALSE(QFileInfo::exists(target));
        EXPECT_TRUE(QFileInfo(historyPath()).isSymLink());
        for (const QString& name : QDir(m_dir.path()).entryList(QDir::Files | QDir::System)) {
            QFile::remove(m_dir.filePath(name));
        }
    }
}

TEST_F(HistoryLogTest, EmptyInputBoxGetsMessageAfterHeader) {
    const QByteArray header = golden("history_after_a.txt").left(kHeaderSize);
    FakeWindow window;
    for (int round = 1; round <= 2; ++round) {
        SCOPED_TRACE(round == 1 ? "no file yet" : "file exists");
        wbscdaochu(window, historyPath(), {}, u"kb"_s, u"a"_s);
        EXPECT_EQ(readAll(historyPath()), header);
        EXPECT_EQ(window.focusCount(), round);
        EXPECT_EQ(window.messages(), QStringList(round, u"请输入所要查询的汉字！"_s));
    }
}

// The program directory as it stands: every entry's name, kind and content.
QStringList snapshot(const QString& directory) {
    QStringList entries;
    const QDir dir(directory);
    const auto filter = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QFileInfo& entry : dir.entryInfoList(filter, QDir::Name)) {
        QString line = entry.fileName();
        if (entry.isSymLink()) {
            line += u" -> "_s + entry.symLinkTarget();
        } else if (entry.isDir()) {
            line += u"/ "_s + snapshot(entry.filePath()).join(u' ');
        } else if (entry.isFile()) {
            line += u" = "_s + QString::fromLatin1(readAll(entry.filePath()).toHex());
        }
        entries << line + u" mode "_s + QString::number(int(entry.permissions()), 16);
    }
    return entries;
}

struct Obstacle {
    const char* name;
    std::function<void(const QString& directory, const QString& path)> setUp;
};

// Sets up each obstacle in turn, records a query in a child process (so that a hang ends in a
// failure, not a stuck suite), and expects the directory unchanged.
void expectUntouched(const QString& directory, const QList<Obstacle>& obstacles) {
    const QString path = historyPathIn(directory);
    for (const Obstacle& obstacle : obstacles) {
        SCOPED_TRACE(obstacle.name);
        obstacle.setUp(directory, path);
        const QStringList before = snapshot(directory);
        const int status = runInChild([&] {
            FakeWindow window;
            wbscdaochu(window, path, u"我"_s, u"q"_s, {});
        });
        EXPECT_TRUE(exitedCleanly(status)) << "wait status " << status;
        EXPECT_EQ(snapshot(directory), before);
        QFile::setPermissions(directory, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QDir(path).removeRecursively();
        QFile::remove(path);
    }
}

TEST_F(HistoryLogTest, UnwritableHistoryChangesNothing) {
    expectUntouched(
        m_dir.path(),
        {
            {"directory of that name",
             [](const QString& directory, const QString& path) {
                 ASSERT_TRUE(QDir(directory).mkdir(path));
             }},
            {"link to a full device",
             [](const QString&, const QString& path) {
                 ASSERT_TRUE(QFile::link(u"/dev/full"_s, path));
             }},
            {"FIFO that no one reads",
             [](const QString&, const QString& path) {
                 ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0666), 0);
             }},
            {"link into a missing directory",
             [](const QString& directory, const QString& path) {
                 ASSERT_TRUE(QFile::link(directory + u"/gone/h.txt"_s, path));
             }},
            {"link to itself",
             [](const QString&, const QString& path) { ASSERT_TRUE(QFile::link(path, path)); }},
        });
}

TEST_F(HistoryLogTest, ReadOnlyHistoryChangesNothing) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "root writes through read-only permissions; run as an unprivileged user";
    }
    expectUntouched(m_dir.path(), {
                                      {"read-only program directory",
                                       [](const QString& directory, const QString&) {
                                           QFile::setPermissions(
                                               directory, QFile::ReadOwner | QFile::ExeOwner);
                                       }},
                                      {"read-only history file",
                                       [](const QString&, const QString& path) {
                                           writeAll(path, golden("history_after_a.txt"));
                                           QFile::setPermissions(path, QFile::ReadOwner);
                                       }},
                                  });
}

TEST_F(HistoryLogTest, FileSizeLimitLeavesNoPartialLine) {
    const QByteArray afterA = golden("history_after_a.txt");
    const struct {
        const char* name;
        QByteArray existing;  // empty: no file yet
        rlim_t limit;
    } cases[] = {
        {"record cut short", afterA, rlim_t(afterA.size() + 10)},
        {"file already at the limit", afterA, rlim_t(afterA.size())},
        {"header cut short", {}, 100},
        {"header not begun", {}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(historyPath());
        if (!c.existing.isEmpty()) {
            writeAll(historyPath(), c.existing);
        }
        const int status = runInChild([&] {
            signal(SIGXFSZ, SIG_IGN);
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = c.limit;
            if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
                _exit(2);
            }
            record(u"啊"_s, u"kb"_s, u"a"_s);
        });
        EXPECT_TRUE(exitedCleanly(status)) << "wait status " << status;
        EXPECT_EQ(QFileInfo::exists(historyPath()), !c.existing.isEmpty());
        EXPECT_EQ(readAll(historyPath()), c.existing);
    }
}

TEST_F(HistoryLogTest, TwoProcessesAppendingKeepEveryLineWhole) {
    constexpr int kRecordsEach = 2000;
    const QList<Query> queries = recordedQueries().mid(1, 2);  // 我 and 你
    const QList<QByteArray> records = goldenRecords("history_records.txt").mid(1, 2);
    record(u"啊"_s, u"kb"_s, u"a"_s);

    int gate[2];
    ASSERT_EQ(pipe(gate), 0);
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = fork();
        if (children[i] == 0) {
            close(gate[1]);
            char byte;
            (void)!read(gate[0], &byte, 1);  // returns once the parent closes its end: go
            for (int n = 0; n < kRecordsEach; ++n) {
                record(queries[i].text, queries[i].wubi, queries[i].pinyin);
            }
            _exit(0);
        }
    }
    close(gate[0]);
    close(gate[1]);
    for (const pid_t child : children) {
        int status = -1;
        waitpid(child, &status, 0);
        EXPECT_TRUE(exitedCleanly(status)) << "wait status " << status;
    }

    const QByteArray afterA = golden("history_after_a.txt");
    const QByteArray written = readAll(historyPath());
    ASSERT_EQ(written.left(afterA.size()), afterA);
    QList<QByteArray> lines = written.mid(afterA.size()).split('\n');
    EXPECT_TRUE(lines.takeLast().isEmpty()) << "the file ends inside a line";
    int counts[2] = {0, 0};
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const qsizetype which = records.indexOf(lines[i] + '\n');
        if (which < 0) {
            ADD_FAILURE() << "torn line " << i << ": " << lines[i].toHex(' ').constData();
            break;
        }
        ++counts[which];
    }
    EXPECT_EQ(counts[0], kRecordsEach);
    EXPECT_EQ(counts[1], kRecordsEach);
}

// In a directory that others may write, another user's link to the victim's file, or to
// nothing, is never followed; root's link is followed to a file, but never to make one.
TEST(HistoryAsRoot, OnlyTheUsersOwnOrRootsLinksAreFollowed) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can set up the files of two other users";
    const std::optional<TestUser> victim = testUser(kTestUserName);
    const std::optional<TestUser> other = testUser(kOtherUserName);
    if (!victim || !other) GTEST_SKIP() << "tools/test.sh makes tinglan-test and tinglan-other";
    const QByteArray notes = "my notes\r\n";
    const QByteArray recordLine = golden("history_after_a.txt").mid(kHeaderSize);
    const struct {
        const char* what;
        std::optional<TestUser> linkOwner;  // nothing: root
        bool toAFile;
        QByteArray after;  // the file the link names afterwards; empty: none
    } cases[] = {
        {"another user's link to the victim's notes", other, true, notes},
        {"another user's dangling link", other, false, {}},
        {"root's link to the victim's notes", std::nullopt, true, notes + recordLine},
        {"root's dangling link", std::nullopt, false, {}},
    };
    for (const mode_t mode : {0777, 01777}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << c.what << ", directory mode " << std::oct << mode);
            QTemporaryDir directory;
            const QByteArray name = QFile::encodeName(directory.path());
            ASSERT_EQ(chmod(name.constData(), mode), 0);
            const QString target = directory.filePath(u"notes.txt"_s);
            if (c.toAFile) {
                writeAll(target, notes);
                ASSERT_EQ(chown(QFile::encodeName(target).constData(), victim->uid, victim->gid),
                          0);
            }
            const QString path = historyPathIn(directory.path());
            ASSERT_TRUE(inChild([&] { return QFile::link(target, path); }, c.linkOwner));
            EXPECT_TRUE(inChild(
                [&] {
                    FakeWindow window;
                    wbscdaochu(window, path, u"啊"_s, u"kb"_s, u"a"_s);
                    return true;
                },
                victim));
            EXPECT_EQ(QFileInfo::exists(target), !c.after.isEmpty());
            EXPECT_EQ(readAll(target), c.after);
            EXPECT_TRUE(QFileInfo(path).isSymLink());
        }
    }
}

}  // namespace

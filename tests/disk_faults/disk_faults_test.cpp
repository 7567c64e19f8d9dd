// SPDX-License-Identifier: GPL-3.0-or-later
// Disk faults: every open, write, sync, close, chmod, chown and rename on the program's files
// made to fail in turn, by a preloaded library, while the program writes them. The file is
// whole afterwards, old or new, and a settings write says "1" only for the new one.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "tests/qt_printers.h"
#include "tests/test_files.h"
#include "tests/test_users.h"

namespace {

using namespace Qt::StringLiterals;

// One run of the helper: what it printed, the calls counted by kind, and the call that failed.
struct Run {
    QString output;
    QMap<QString, int> counts;
    QString failedKind;
    QString failedPath;
};

// Runs the helper's `operation` in `directory` with the failing library preloaded, failing the
// call `call` ("KIND:N"; empty for none).
Run runHelper(const char* operation, const QString& directory, const QString& call) {
    QTemporaryDir logDirectory;
    const QString log = logDirectory.filePath(u"log"_s);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"LD_PRELOAD"_s, QStringLiteral(FAIL_NTH_CALL_LIBRARY));
    environment.insert(u"TINGLAN_FAIL_UNDER"_s, directory);
    environment.insert(u"TINGLAN_FAIL_CALL"_s, call);
    environment.insert(u"TINGLAN_FAIL_LOG"_s, log);
    // A sanitizer build wants its runtime first of all libraries; this one comes before it.
    const QString asan = environment.value(u"ASAN_OPTIONS"_s);
    environment.insert(u"ASAN_OPTIONS"_s,
                       (asan.isEmpty() ? asan : asan + u':') + u"verify_asan_link_order=0"_s);
    QProcess helper;
    helper.setProcessEnvironment(environment);
    helper.start(QStringLiteral(DISK_FAULTS_HELPER), {QString::fromLatin1(operation), directory});
    EXPECT_TRUE(helper.waitForFinished(30000));
    EXPECT_EQ(helper.exitCode(), 0) << helper.readAllStandardError().toStdString();
    Run run{QString::fromUtf8(helper.readAllStandardOutput()), {}, {}, {}};
    for (const QByteArray& line : fileBytes(log).split('\n')) {
        const QList<QByteArray> words = line.split(' ');
        if (words.size() == 2) run.counts[QString::fromLatin1(words[0])] = words[1].toInt();
        if (words.size() == 3 && words[0] == "failed") {
            run.failedKind = QString::fromLatin1(words[1]);
            run.failedPath = QFile::decodeName(words[2]);
        }
    }
    return run;
}

// One write of the program's files: the file's bytes before and after it (nothing: no file),
// and what else a run cut short may leave.
struct Scenario {
    const char* what;
    const char* operation;
    QString file;
    std::optional<QByteArray> before;
    QByteArray after;
    std::optional<QByteArray> between;  // the history's header alone, when its record fails
};

std::optional<QByteArray> bytesAt(const QString& path) {
    if (!QFile::exists(path)) return std::nullopt;
    return fileBytes(path);
}

// Runs `scenario` once without a fault, then once for each call it makes, that call failing.
void sweep(const Scenario& scenario, const std::function<void(const QString&)>& prepare = {}) {
    SCOPED_TRACE(scenario.what);
    const bool settings = scenario.file == u"SetValve.ini";
    QTemporaryDir directory;
    const QString path = directory.filePath(scenario.file);
    const auto reset = [&] {
        QFile::remove(path);
        if (scenario.before) putFile(path, *scenario.before);
        if (prepare) prepare(path);
    };
    reset();
    const Run clean = runHelper(scenario.operation, directory.path(), {});
    EXPECT_EQ(clean.output, settings ? u"1"_s : QString());
    EXPECT_EQ(bytesAt(path), scenario.after);
    ASSERT_FALSE(clean.counts.isEmpty());

    for (auto count = clean.counts.cbegin(); count != clean.counts.cend(); ++count) {
        for (int n = 1; n <= count.value(); ++n) {
            const QString call = count.key() + u':' + QString::number(n);
            SCOPED_TRACE(call.toStdString());
            reset();
            const Run run = runHelper(scenario.operation, directory.path(), call);
            ASSERT_EQ(run.failedKind, count.key()) << "the call was not made again";
            const std::optional<QByteArray> now = bytesAt(path);
            EXPECT_EQ(QDir(directory.path())
                          .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                      now ? QStringList{scenario.file} : QStringList{})
                << "only the file itself stays";
            const bool onDirectory = run.failedPath == directory.path();
            if (!settings) {
                // The header alone is a step that succeeded; a record or header that failed on
                // its way to disk is taken back.
                EXPECT_TRUE(now == scenario.before || now == scenario.after ||
                            (scenario.between && now == scenario.between));
                if (run.failedKind != u"close") {
                    EXPECT_NE(now, scenario.after);
                }
            } else if (run.output == u"1") {
                // Only a descriptor that was read, never written, may fail to close.
                EXPECT_EQ(now, scenario.after);
                EXPECT_EQ(run.failedKind, u"close"_s);
                EXPECT_FALSE(run.failedPath.contains(u".tinglan-new-"_s));
            } else {
                EXPECT_EQ(run.output, u"0"_s);
                // After the rename only the directory's sync is left to fail.
                EXPECT_TRUE(now == scenario.before || (now == scenario.after && onDirectory));
            }
        }
    }
}

const QByteArray kFirstRun = golden("setvalve_first_run.ini");
const QByteArray kHistory = golden("history_after_a.txt");
constexpr qsizetype kHeaderSize = 424;

TEST(DiskFaults, EveryFailedCallLeavesAWholeFileAndIsReported) {
    const Scenario scenarios[] = {
        {"a settings write",
         "settings",
         u"SetValve.ini"_s,
         kFirstRun,
         QByteArray(kFirstRun).replace("SetOnTop=0", "SetOnTop=1"),
         {}},
        {"the first start's settings file",
         "first-run",
         u"SetValve.ini"_s,
         std::nullopt,
         gbk(u"[基本设置]\r\nSetOnTop=0\r\nMeCmmsearch=查询\r\n"_s),
         {}},
        {"a history record",
         "history",
         u"历史记录.txt"_s,
         kHistory,
         kHistory + kHistory.mid(kHeaderSize),
         {}},
        {"the first history record", "history", u"历史记录.txt"_s, std::nullopt, kHistory,
         kHistory.left(kHeaderSize)},
    };
    for (const Scenario& scenario : scenarios) sweep(scenario);
}

// Root writing a user's file gives the new file to the user: a failed fchown counts too.
TEST(DiskFaults, AFailedChownIsReportedAsRoot) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can write another user's file";
    const std::optional<TestUser> user = testUser(kTestUserName);
    if (!user) GTEST_SKIP() << "tools/test.sh makes tinglan-test";
    sweep({"root writes a user's settings",
           "settings",
           u"SetValve.ini"_s,
           kFirstRun,
           QByteArray(kFirstRun).replace("SetOnTop=0", "SetOnTop=1"),
           {}},
          [&](const QString& path) {
              ASSERT_EQ(chown(QFile::encodeName(path).constData(), user->uid, user->gid), 0);
          });
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tool, run as a process: its output lines, standard-input mode and exit codes.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStringList>

#include "tests/qt_printers.h"

namespace {

struct ToolRun {
    QByteArray out;
    QByteArray err;
    int status;
};

ToolRun finish(QProcess& process, const QByteArray& input) {
    process.write(input);
    process.closeWriteChannel();
    process.waitForFinished(30000);
    return {process.readAllStandardOutput(), process.readAllStandardError(), process.exitCode()};
}

ToolRun runTool(const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.start(TINGLAN_QUERY_PATH, arguments);
    return finish(process, input);
}

// Runs the tool through the shell, which can hand it arguments that are not valid UTF-8.
ToolRun runToolFromShell(const QString& argumentsScript) {
    QProcess process;
    process.start("/bin/sh", {"-c", "exec \"$0\" " + argumentsScript, TINGLAN_QUERY_PATH});
    return finish(process, {});
}

struct ToolCase {
    const char* name;
    QStringList arguments;
    QByteArray input;
    QByteArray out;
    int status;
};

TEST(TinglanQuery, AnswersEachTextOrLine) {
    const ToolCase cases[] = {
        {"texts",
         {"啊", "我啊", "", "长", "曹", " 啊"},
         {},
         "啊\tkb\ta\n我\tq\t\n\n长\tta\tchang\n曹\tNone!\t\n \tNone!\t\n",
         0},
        {"dash text after --", {"--", "--each"}, {}, "-\tNone!\t\n", 0},
        {"stdin LF and CR LF", {}, "都\r\n\n你好\n率", "都\tftjb\tdou\n\n你\twq\t\n率\tyx\t\n", 0},
        {"each", {"--each", "汉字😀", ""}, {}, "汉\tic\than\n字\tpb\t\n😀\tNone!\t\n", 0},
        {"each stdin", {"--each"}, "啊\r\n\n我\n", "啊\tkb\ta\n我\tq\t\n", 0},
        {"version", {"--version"}, {}, "tinglan-query 1.0.0.6\n", 0},
    };
    for (const ToolCase& c : cases) {
        const ToolRun run = runTool(c.arguments, c.input);
        EXPECT_EQ(run.out, c.out) << c.name;
        EXPECT_EQ(run.status, c.status) << c.name;
        EXPECT_EQ(run.err, "") << c.name;
    }
}

TEST(TinglanQuery, InvalidUtf8IsReportedAndTheRestAnswered) {
    const ToolRun fromArguments = runToolFromShell("啊 \"$(printf '\\377')\" 我");
    EXPECT_EQ(fromArguments.out, "啊\tkb\ta\n\n我\tq\t\n");
    EXPECT_EQ(fromArguments.err, "tinglan-query: argument 2 is not valid UTF-8\n");
    EXPECT_EQ(fromArguments.status, 1);

    const ToolRun fromInput = runTool({}, "啊\n\xed\xa0\x80\n我\n");
    EXPECT_EQ(fromInput.out, "啊\tkb\ta\n\n我\tq\t\n");
    EXPECT_EQ(fromInput.err, "tinglan-query: line 2 is not valid UTF-8\n");
    EXPECT_EQ(fromInput.status, 1);
}

TEST(TinglanQuery, BadOptionsGiveTheUsageAndStatusTwo) {
    for (const QStringList& arguments :
         {QStringList{"--bogus"}, QStringList{"--dump", "啊"}, QStringList{"-x", "啊"}}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.out, "") << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("usage: tinglan-query")) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
    }
}

TEST(TinglanQuery, DumpListsEveryRowInTableOrder) {
    const ToolRun run = runTool({"--dump"});
    ASSERT_EQ(run.status, 0);
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_GT(lines.size(), 6000);
    EXPECT_EQ(lines.front(), "A\t啊\tkb\ta");
    EXPECT_EQ(lines[68], "B\t芭\tac\tba");  // group A has 68 rows
    EXPECT_EQ(run.out.count("\nL\t了\tb\t\n"), 2);
    EXPECT_TRUE(run.out.endsWith("\n"));
}

TEST(TinglanQuery, HelpNamesEveryOption) {
    const ToolRun run = runTool({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option : {"--each", "--dump", "--help", "--version"})
        EXPECT_TRUE(run.out.contains(option)) << option;
}

}  // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line tool, run as a process: its output lines, standard-input mode and exit codes.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <QString>
#include <QStringList>
#include <csignal>
#include <utility>

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

ToolRun runProgram(const QString& program, const QStringList& arguments, const QByteArray& input) {
    QProcess process;
    process.start(program, arguments);
    return finish(process, input);
}

ToolRun runTool(const QStringList& arguments, const QByteArray& input = {}) {
    return runProgram(TINGLAN_QUERY_PATH, arguments, input);
}

// Runs `script` in the shell with the tool as "$0": the shell can hand it arguments that are not
// valid UTF-8, and redirect or pipe its standard streams to real faults.
ToolRun runShell(const QString& script, const QByteArray& input = {}) {
    QProcess process;
    process.start("/bin/sh", {"-c", script, TINGLAN_QUERY_PATH});
    return finish(process, input);
}

// Runs `script` as runShell does, output discarded; returns the exit status and the peak
// resident set size in KiB of the largest process the script ran.
std::pair<int, long> peakMemoryOfShell(const char* script) {
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGPIPE, SIG_DFL);  // the producers end quietly once the tool has read enough
        execl("/bin/sh", "sh", "-c", script, TINGLAN_QUERY_PATH, static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = -1;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, usage.ru_maxrss};
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
        {"control characters by code point",
         {"\t啊", "\r", "\x7f", "\u0085", "\n我"},
         {},
         "U+0009\tNone!\t\nU+000D\tNone!\t\nU+007F\tNone!\t\nU+0085\tNone!\t\nU+000A\tNone!\t\n",
         0},
        {"each: line ends inside a text separate",
         {"--each", "啊\n我\r\n\t率\r"},
         {},
         "啊\tkb\ta\n我\tq\t\nU+0009\tNone!\t\n率\tyx\t\n",
         0},
        {"each stdin control characters",
         {"--each"},
         QByteArrayLiteral("\x01\r\r\n\0\n"),
         "U+0001\tNone!\t\nU+000D\tNone!\t\nU+0000\tNone!\t\n",
         0},
        {"leading BOM is queried", {QString(QChar(0xFEFF)) + "啊"}, {}, "\uFEFF\tNone!\t\n", 0},
        {"each stdin leading BOM",
         {"--each"},
         "\xEF\xBB\xBF啊\n",
         "\uFEFF\tNone!\t\n啊\tkb\ta\n",
         0},
        // Held with and without pinyin, polyphonic, held by the details only, a supplementary
        // plane, held by neither, a control character, an empty text; a three-letter code that
        // offers another character first, a full code that is not first and historical readings.
        {"all",
         {"--all", "我", "长", "曹", "\U00020000", "😀", "\t", "", "鬈", "\U000228F5"},
         {},
         "我 U+6211\n  window:   q (no pinyin)\n"
         "  codes:    q (simple1), trn (simple3), trnt (full)\n  readings: wǒ\n"
         "  strokes:  7 (3121534)\n\n"
         "长 U+957F\n  window:   ta chang\n"
         "  codes:    ta (simple2), tay (simple3), tayi (full)\n  readings: cháng, zhǎng\n"
         "  strokes:  4 (3154)\n\n"
         "曹 U+66F9\n  window:   None! (not in the tables)\n"
         "  codes:    gma (simple3), gmaj (full)\n  readings: cáo\n  strokes:  11 (12512212511)\n\n"
         "\U00020000 U+20000\n  window:   None! (not in the tables)\n"
         "  codes:    ghab (full)\n  readings: hē\n  strokes:  4 (1215)\n\n"
         "😀 U+1F600\n  window:   None! (not in the tables)\n  codes:    none\n"
         "  readings: none\n  strokes:  none\n\n"
         "U+0009\n  window:   None! (not in the tables)\n  codes:    none\n  readings: none\n"
         "  strokes:  none\n\n"
         "\n"
         "鬈 U+9B08\n  window:   deu (no pinyin)\n"
         "  codes:    deu (code3, candidate 2), deub (full)\n  readings: quán\n"
         "  strokes:  18 (121115433343113455)\n\n"
         "\U000228F5 U+228F5\n  window:   None! (not in the tables)\n"
         "  codes:    ndff (full, candidate 3)\n  readings: none\n  historical readings: chú\n"
         "  strokes:  17 (44213121251431124)\n\n",
         0},
        {"all each stdin",
         {"--each", "--all"},
         "啊\n\n兙",
         "啊 U+554A\n  window:   kb a\n  codes:    kb (simple2), kbs (simple3), kbsk (full)\n"
         "  readings: a, ā, á, ǎ, à\n  strokes:  10 (2515212512)\n\n"
         "兙 U+5159\n  window:   None! (not in the tables)\n  codes:    dqfk (full)\n"
         "  readings: none\n  strokes:  9 (122513512)\n\n",
         0},
        // 曹 twice: an answer kept from before comes out the same.
        {"json",
         {"--json", "长", "", "曹", "曹", "鬈", "\U000228F5"},
         {},
         R"({"character":"长","codePoint":"U+957F","wubi":"ta","pinyin":"chang","inTables":true,)"
         R"("codes":[{"code":"ta","level":"simple2","candidate":1},)"
         R"({"code":"tay","level":"simple3","candidate":1},)"
         R"({"code":"tayi","level":"full","candidate":1}],"readings":["cháng","zhǎng"],)"
         R"("historicalReadings":[],"strokes":{"count":4,"order":"3154"}})"
         "\nnull\n"
         R"({"character":"曹","codePoint":"U+66F9","wubi":"None!","pinyin":"","inTables":false,)"
         R"("codes":[{"code":"gma","level":"simple3","candidate":1},)"
         R"({"code":"gmaj","level":"full","candidate":1}],"readings":["cáo"],)"
         R"("historicalReadings":[],"strokes":{"count":11,"order":"12512212511"}})"
         "\n"
         R"({"character":"曹","codePoint":"U+66F9","wubi":"None!","pinyin":"","inTables":false,)"
         R"("codes":[{"code":"gma","level":"simple3","candidate":1},)"
         R"({"code":"gmaj","level":"full","candidate":1}],"readings":["cáo"],)"
         R"("historicalReadings":[],"strokes":{"count":11,"order":"12512212511"}})"
         "\n"
         R"({"character":"鬈","codePoint":"U+9B08","wubi":"deu","pinyin":"","inTables":true,)"
         R"("codes":[{"code":"deu","level":"code3","candidate":2},)"
         R"({"code":"deub","level":"full","candidate":1}],"readings":["quán"],)"
         R"("historicalReadings":[],"strokes":{"count":18,"order":"121115433343113455"}})"
         "\n"
         "{\"character\":\"\U000228F5\",\"codePoint\":\"U+228F5\",\"wubi\":\"None!\",\"pinyin\":"
         "\"\","
         R"("inTables":false,"codes":[{"code":"ndff","level":"full","candidate":3}],)"
         R"("readings":[],"historicalReadings":["chú"],)"
         R"("strokes":{"count":17,"order":"44213121251431124"}})"
         "\n",
         0},
        {"json escapes, with --all",
         {"--json", "--all", "--each", "\t\"\\\u0085\u2028\x01"},
         {},
         R"({"character":"\t","codePoint":"U+0009","wubi":"None!","pinyin":"","inTables":false,)"
         R"("codes":[],"readings":[],"historicalReadings":[],"strokes":null})"
         "\n"
         R"({"character":"\"","codePoint":"U+0022","wubi":"None!","pinyin":"","inTables":false,)"
         R"("codes":[],"readings":[],"historicalReadings":[],"strokes":null})"
         "\n"
         R"({"character":"\\","codePoint":"U+005C","wubi":"None!","pinyin":"","inTables":false,)"
         R"("codes":[],"readings":[],"historicalReadings":[],"strokes":null})"
         "\n"
         R"({"character":"\u0085","codePoint":"U+0085","wubi":"None!","pinyin":"","inTables":false,)"
         R"("codes":[],"readings":[],"historicalReadings":[],"strokes":null})"
         "\n"
         R"({"character":"\u2028","codePoint":"U+2028","wubi":"None!","pinyin":"","inTables":false,)"
         R"("codes":[],"readings":[],"historicalReadings":[],"strokes":null})"
         "\n"
         R"({"character":"\u0001","codePoint":"U+0001","wubi":"None!","pinyin":"","inTables":false,)"
         R"("codes":[],"readings":[],"historicalReadings":[],"strokes":null})"
         "\n",
         0},
        {"code", {"--code", "kbsk"}, {}, "啊\tU+554A\tfull\n\U00020D84\tU+20D84\tfull\n", 0},
        {"code, one letter", {"--code=q"}, {}, "我\tU+6211\tsimple1\n", 0},
        {"code types nothing", {"--code", "yyyx"}, {}, "", 0},
        // The most common first; a character without a reading, one without a reading or code.
        {"strokes",
         {"--strokes", "3154"},
         {},
         "长\t3154\tcháng\tta\n迄\t315454\tqì\ttnp\n𢖴\t3154544\tyì\ttnnu\n"
         "𨑞\t315454\t\ttapv\n",
         0},
        {"strokes json",
         {"--json", "--strokes=315454"},
         {},
         R"({"character":"迄","codePoint":"U+8FC4","strokes":{"count":6,"order":"315454"},)"
         R"("reading":"qì","code":"tnp"})"
         "\n"
         R"({"character":"𢖴","codePoint":"U+225B4","strokes":{"count":7,"order":"3154544"},)"
         R"("reading":"yì","code":"tnnu"})"
         "\n"
         R"({"character":"𨑞","codePoint":"U+2845E","strokes":{"count":6,"order":"315454"},)"
         R"("reading":null,"code":"tapv"})"
         "\n",
         0},
        {"strokes matching nothing", {"--strokes", "5555555555"}, {}, "", 0},
        {"code json",
         {"--json", "--code", "kbsk"},
         "我\n",
         R"({"code":"kbsk","characters":[{"character":"啊","codePoint":"U+554A","level":"full"},)"
         "{\"character\":\"\U00020D84\",\"codePoint\":\"U+20D84\",\"level\":\"full\"}],"
         "\"phrases\":[]}\n",
         0},
        // Phrases hold their places among the characters, by weight.
        {"code of characters and phrases",
         {"--code", "khlg"},
         {},
         "中国\tU+4E2D U+56FD\tphrase\n跨国\tU+8DE8 U+56FD\tphrase\n跑车\tU+8DD1 U+8F66\tphrase\n"
         "䟧\tU+47E7\tfull\n\U00028208\tU+28208\tfull\n",
         0},
        {"code json, phrases",
         {"--code=wgkq", "--json"},
         {},
         R"({"code":"wgkq","characters":[{"character":"使","codePoint":"U+4F7F","level":"full"},)"
         R"({"character":"覴","codePoint":"U+89B4","level":"full"},)"
         "{\"character\":\"\U000278A2\",\"codePoint\":\"U+278A2\",\"level\":\"full\"}],"
         R"("phrases":[{"phrase":"使唤","codePoints":["U+4F7F","U+5524"],"position":2}]})"
         "\n",
         0},
        // Listed, listed under two codes, derived; a character without a code is answered, not
        // an error; one character gives its own codes; an empty word an empty line.
        {"words",
         {"--word", "中国", "中华人民共和国", "汀兰", "踊跃", "中A", "中", "", "hello", "\t"},
         {},
         "中国\tkhlg\tlisted\t1\n中华人民共和国\tkwwl\tlisted\t1\n汀兰\tisuf\tderived\t1\n"
         "踊跃\tkckt\tlisted\t1\n踊跃\tkhkh\tlisted\t2\n中A\tNone!\n"
         "中\tk\tlisted\t1\n中\tkh\tlisted\t1\n中\tkhk\tlisted\t1\n\nhello\tNone!\nU+0009\tNone!\n",
         0},
        {"words stdin",
         {"--word"},
         "中国\r\n\n汀兰",
         "中国\tkhlg\tlisted\t1\n\n汀兰\tisuf\tderived\t1\n",
         0},
        {"words json",
         {"--json", "--word", "踊跃", "中\"\t", ""},
         {},
         R"({"word":"踊跃","codes":[{"code":"kckt","origin":"listed","position":1},)"
         R"({"code":"khkh","origin":"listed","position":2}]})"
         "\n"
         R"({"word":"中\"\t","codes":[]})"
         "\nnull\n",
         0},
        // Punctuation, Latin letters and blanks pass through, counted apart; a character without
        // a reading is left out of the pinyin count.
        {"typing",
         {"--typing", "我们是中华人民共和国的公民，Hello 世界！", "兙"},
         {},
         "我们\ttrwu\ttrnt wun\n是\tj\tjghu\n"
         "中华人民共和国\tkwwl\tkhk wxfj wwww nav awu tkg lgyi\n的\tr\trqyy\n公民\twcna\twcu nav\n"
         "，Hello \tNone!\n世界\tanlw\tanv lwjj\n！\tNone!\n兙\tdqfk\tdqfk\n"
         "keys: shortest 24, full 64, pinyin 61\nleft out: untyped 8, no reading 1\n",
         0},
        // No word spans two TEXTs or a line end.
        {"typing, words cut",
         {"--typing", "中", "国\n中", "国"},
         {},
         "中\tk\tkhk\n国\tl\tlgyi\n中\tk\tkhk\n国\tl\tlgyi\n"
         "keys: shortest 8, full 16, pinyin 20\nleft out: untyped 0, no reading 0\n",
         0},
        {"word with a line end", {"--word", "中\n国"}, {}, "中U+000A国\tNone!\n", 0},
        // A second candidate.
        {"typing stdin",
         {"--typing"},
         "中\r\n国\n跨国\n",
         "中\tk\tkhk\n国\tl\tlgyi\n跨国\tkhlg 2\tkhdn lgyi\n"
         "keys: shortest 9, full 16, pinyin 18\nleft out: untyped 0, no reading 0\n",
         0},
        {"typing json",
         {"--json", "--typing", "跨国，\"Hi\t"},
         {},
         R"({"text":"跨国","kind":"word","code":"khlg","position":2,"fullCodes":["khdn","lgyi"]})"
         "\n"
         R"({"text":"，\"Hi\t","kind":"untyped"})"
         "\n"
         R"({"keys":{"shortest":5,"full":8,"pinyin":8},"untyped":5,"noReading":0})"
         "\n",
         0},
    };
    for (const ToolCase& c : cases) {
        const ToolRun run = runTool(c.arguments, c.input);
        EXPECT_EQ(run.out, c.out) << c.name;
        EXPECT_EQ(run.status, c.status) << c.name;
        EXPECT_EQ(run.err, "") << c.name;
    }
}

struct ShellCase {
    const char* name;
    const char* script;
    QByteArray input;
    QByteArray out;
    QByteArray err;
    int status;
};

void expectShellCases(std::initializer_list<ShellCase> cases) {
    for (const ShellCase& c : cases) {
        const ToolRun run = runShell(c.script, c.input);
        EXPECT_EQ(run.out, c.out) << c.name;
        EXPECT_EQ(run.err, c.err) << c.name;
        EXPECT_EQ(run.status, c.status) << c.name;
    }
}

TEST(TinglanQuery, InvalidUtf8IsReportedAndTheRestAnswered) {
    // Line 2 is overlong, line 3 past U+10FFFF, line 4 ends inside a sequence.
    const QByteArray lines = "啊\xff\xfe我\n\xc0\xaf\n\xf4\x90\x80\x80啊\n啊\xe5";
    const QByteArray linesReported =
        "tinglan-query: line 1 is not valid UTF-8\ntinglan-query: line 2 is not valid UTF-8\n"
        "tinglan-query: line 3 is not valid UTF-8\ntinglan-query: line 4 is not valid UTF-8\n";
    expectShellCases({
        {"arguments",
         "\"$0\" 啊 \"$(printf '\\377')\" 我",
         {},
         "啊\tkb\ta\n\n我\tq\t\n",
         "tinglan-query: argument 2 is not valid UTF-8\n",
         1},
        {"each arguments: invalid runs answered in place, reported once",
         "\"$0\" --each 啊 \"$(printf '我\\377\\376率\\n\\355\\240\\200')\" 我",
         {},
         "啊\tkb\ta\n我\tq\t\n\n率\tyx\t\n\n我\tq\t\n",
         "tinglan-query: argument 2 is not valid UTF-8\n",
         1},
        {"all: an empty line in place",
         "\"$0\" --all \"$(printf '\\377')\" 😀",
         {},
         "\n😀 U+1F600\n  window:   None! (not in the tables)\n  codes:    none\n"
         "  readings: none\n  strokes:  none\n\n",
         "tinglan-query: argument 1 is not valid UTF-8\n",
         1},
        {"json each stdin: null in place", "\"$0\" --json --each", "\xff\n", "null\n",
         "tinglan-query: line 1 is not valid UTF-8\n", 1},
        {"surrogate line", "\"$0\"", "啊\n\xed\xa0\x80\n我\n", "啊\tkb\ta\n\n我\tq\t\n",
         "tinglan-query: line 2 is not valid UTF-8\n", 1},
        {"word: an empty line in place",
         "\"$0\" --word 中国 \"$(printf '中\\377')\"",
         {},
         "中国\tkhlg\tlisted\t1\n\n",
         "tinglan-query: argument 2 is not valid UTF-8\n",
         1},
        {"typing: the pieces end before an invalid run, answered in place", "\"$0\" --typing",
         "中\xff国\n",
         "中\tk\tkhk\n\n国\tl\tlgyi\nkeys: shortest 4, full 8, pinyin 10\n"
         "left out: untyped 0, no reading 0\n",
         "tinglan-query: line 1 is not valid UTF-8\n", 1},
        {"lines", "\"$0\"", lines, "\n\n\n\n", linesReported, 1},
        {"each lines", "\"$0\" --each", lines, "啊\tkb\ta\n\n我\tq\t\n\n\n啊\tkb\ta\n啊\tkb\ta\n\n",
         linesReported, 1},
    });
}

// The first lines of searches with many matches, as a reader that stops early takes them: an
// order put right, letters and any stroke, Extension B, every character with one stroke.
TEST(TinglanQuery, StrokeSearchesStreamTheMostCommonFirst) {
    expectShellCases({
        {"字", "\"$0\" --strokes 445521 | head -1", {}, "字\t445521\tzì\tpb\n", {}, 0},
        {"letters, any stroke",
         "\"$0\" --strokes 'n?npn' | head -3",
         {},
         "必\t45434\tbì\tnt\n旁\t4143454153\tpáng\tupy\n议\t45434\tyì\tyyq\n",
         {},
         0},
        {"Extension B",
         "\"$0\" --strokes 1215 | grep '^\U00020000'",
         {},
         "\U00020000\t1215\thē\tghab\n",
         {},
         0},
        {"one stroke, closed pipe",
         "{ \"$0\" --strokes 1; echo \"status $?\" >&2; } | head -1",
         {},
         "下\t124\txià\tgh\n",
         "status 0\n",
         0},
    });
}

TEST(TinglanQuery, ReadAndWriteFailuresAreReportedAClosedPipeIsNot) {
    const QByteArray full =
        "tinglan-query: cannot write standard output: No space left on device\n";
    expectShellCases({
        {"/dev/full", "\"$0\" 啊 >/dev/full", {}, {}, full, 1},
        {"/dev/full, help", "\"$0\" -h >/dev/full", {}, {}, full, 1},
        {"/dev/full, dump", "\"$0\" --dump >/dev/full", {}, {}, full, 1},
        {"/dev/full, each stdin", "\"$0\" --each >/dev/full", "啊\n", {}, full, 1},
        {"/dev/full, typing", "\"$0\" --typing 中国 >/dev/full", {}, {}, full, 1},
        {"closed stdout",
         "\"$0\" 啊 >&-",
         {},
         {},
         "tinglan-query: cannot write standard output: Bad file descriptor\n",
         1},
        {"stdin a directory",
         "\"$0\" </",
         {},
         {},
         "tinglan-query: cannot read standard input: Is a directory\n",
         1},
        {"closed stdin",
         "\"$0\" --each <&-",
         {},
         {},
         "tinglan-query: cannot read standard input: Bad file descriptor\n",
         1},
        {"closed pipe",
         "yes 啊 2>/dev/null | { \"$0\"; echo \"status $?\" >&2; } | head -1",
         {},
         "啊\tkb\ta\n",
         "status 0\n",
         0},
        {"closed pipe, each",
         "yes 啊 2>/dev/null | { \"$0\" --each; echo \"status $?\" >&2; } | head -1",
         {},
         "啊\tkb\ta\n",
         "status 0\n",
         0},
        {"closed pipe, typing",
         "yes 中国 2>/dev/null | { \"$0\" --typing; echo \"status $?\" >&2; } | head -1",
         {},
         "中国\tkhlg\tkhk lgyi\n",
         "status 0\n",
         0},
        {"closed pipe after an invalid line",
         "{ echo; printf '\\377\\n'; yes 啊; } 2>&- | { \"$0\"; echo \"status $?\" >&2; } | head "
         "-3",
         {},
         "\n\n啊\tkb\ta\n",
         "tinglan-query: line 2 is not valid UTF-8\nstatus 1\n",
         0},
    });
}

TEST(TinglanQuery, AnswersAsInputArrivesInBoundedMemory) {
    struct SlowCase {
        QStringList arguments;
        QByteArray first, firstAnswer, second, secondAnswer;
    };
    const SlowCase cases[] = {
        {{}, "啊\n", "啊\tkb\ta\n", "我\n", "我\tq\t\n"},
        {{"--each"}, "啊我\n", "啊\tkb\ta\n我\tq\t\n", "率\n", "率\tyx\t\n"},
        {{"--each"}, "啊", "啊\tkb\ta\n", "我\n", "我\tq\t\n"},  // within one line
        // Held back only while a longer word may follow.
        {{"--typing"},
         "中国\n",
         "中国\tkhlg\tkhk lgyi\n",
         "工\n",
         "工\ta\taaaa\nkeys: shortest 6, full 12, pinyin 15\nleft out: untyped 0, no reading 0\n"},
    };
    for (const SlowCase& c : cases) {
        const std::string name = (c.arguments.join(' ') + ' ' + c.first).toStdString();
        QProcess process;
        process.start(TINGLAN_QUERY_PATH, c.arguments);
        process.write(c.first);
        QByteArray answered;
        while (answered.size() < c.firstAnswer.size() && process.waitForReadyRead(10000))
            answered += process.readAllStandardOutput();
        EXPECT_EQ(answered, c.firstAnswer) << name;  // before the second line is written
        const ToolRun rest = finish(process, c.second);
        EXPECT_EQ(rest.out, c.secondAnswer) << name;
        EXPECT_EQ(rest.status, 0) << name;
    }

    // One line of 200 MB: 66,666,666 hanzi, each answered, well within 64 MiB.
    const auto [status, peakKib] = peakMemoryOfShell(
        "yes 啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊啊 | tr -d '\\n' | head -c 199999998 |"
        " \"$0\" --each | { wc -l | grep -qx 66666666; }");
    EXPECT_EQ(status, 0);
    EXPECT_LT(peakKib, 64 * 1024);

    // --typing on one line of 60 MB: its code points alone would take 80 MB.
    const auto [typingStatus, typingPeakKib] = peakMemoryOfShell(
        "yes 中华人民共和国的公民，Hello | tr -d '\\n' | head -c 60000024 |"
        " \"$0\" --typing | tail -1 | grep -qx 'left out: untyped 9473688, no reading 0'");
    EXPECT_EQ(typingStatus, 0);
    EXPECT_LT(typingPeakKib, 64 * 1024);
}

TEST(TinglanQuery, BadOptionsGiveTheUsageAndStatusTwo) {
    const QStringList cases[] = {
        {"--bogus"},
        {"--dump", "啊"},
        {"-x", "啊"},
        {"--dump", "--json"},
        {"--json=1"},
        {"--code"},
        {"--code", "q", "--code", "b"},
        {"--code", "kb", "啊"},
        {"--code", "kb", "--each"},
        {"--all", "--code", "kb"},
        {"--strokes"},
        {"--strokes", "1", "--strokes", "2"},
        {"--strokes", "1", "啊"},
        {"--strokes", "1", "--all"},
        {"--code", "kb", "--strokes", "1"},
        {"--word", "--each"},
        {"--word", "--typing"},
        {"--dump", "--word"},
        {"--typing", "--all", "啊"},
        {"--typing", "--code", "kb"},
    };
    for (const QStringList& arguments : cases) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.out, "") << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("usage: tinglan-query")) << arguments.join(' ').toStdString();
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
    }
    // A CODE that is no code: the command line is right, so one line without the usage.
    for (const char* code : {"", "z", "kbskk", "KB", "a1", "啊", "-q"}) {
        const ToolRun run = runTool({"--code", code});
        EXPECT_EQ(run.out, "") << code;
        EXPECT_EQ(run.err, "tinglan-query: a CODE is 1 to 4 letters a to y\n") << code;
        EXPECT_EQ(run.status, 2) << code;
    }
    for (const char* strokes : {"", "6", "h6", "H", "1 2", "横", "*"}) {
        const ToolRun run = runTool({"--strokes", strokes});
        EXPECT_EQ(run.out, "") << strokes;
        EXPECT_EQ(run.err,
                  "tinglan-query: a SEQ is one or more of the strokes 1 to 5 or h s p n z, or ? "
                  "for any stroke\n")
            << strokes;
        EXPECT_EQ(run.status, 2) << strokes;
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

// The benchmarks set --each against a floor program; the comparison holds only while the floor
// writes the same bytes, here over every BMP character (a text of several input blocks, cut
// inside sequences), line ends of every kind, invalid bytes, a cut sequence at the end and
// characters past the BMP.
TEST(TinglanQuery, BenchmarkFloorWritesWhatEachWrites) {
#ifndef TINGLAN_CLI_FLOOR_PATH
    GTEST_SKIP() << "built without the benchmarks";
#else
    QString everyCharacter;
    for (char32_t c = 0; c < 0x10000; ++c) {
        if (!QChar::isSurrogate(c)) everyCharacter += QChar(c);
    }
    const QByteArray input =
        everyCharacter.toUtf8() + "\r\n啊\r我\n\n\xff\xfe率\r\n\xc0\xaf\xed\xa0\x80😀\U00020000\xe5";
    const ToolRun each = runTool({"--each"}, input);
    EXPECT_EQ(each.status, 1);
    EXPECT_GT(each.out.count('\n'), 60000);
    EXPECT_EQ(runProgram(TINGLAN_CLI_FLOOR_PATH, {}, input).out, each.out);
#endif
}

TEST(TinglanQuery, HelpNamesEveryOption) {
    const ToolRun run = runTool({"--help"});
    EXPECT_EQ(run.status, 0);
    for (const char* option : {"--each", "--all", "--json", "--word", "--typing", "--code CODE",
                               "--strokes SEQ", "--dump", "-h", "--help", "--version"})
        EXPECT_TRUE(run.out.contains(option)) << option;
    // Wrapped for a terminal of 80 columns, and for the manual page made from it.
    for (const QString& line : QString::fromUtf8(run.out).split('\n'))
        EXPECT_LE(line.size(), 79) << line.toStdString();
    EXPECT_EQ(runTool({"-h"}).out, run.out);
}

}  // namespace

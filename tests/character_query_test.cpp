// SPDX-License-Identifier: GPL-3.0-or-later
// The character query: cutting, the two chains and their tie-breaks, how it drives the window,
// and the details behind the results' tooltips.
#include "query/character_query.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include "query/character_details.h"
#include "query/history_format.h"
#include "query/query_window.h"
#include "tables/groups.h"
#include "tests/qt_printers.h"
#include "tests/test_files.h"

namespace {

// Records every window operation the query performs, in order.
class RecordingWindow : public QueryWindow {
public:
    explicit RecordingWindow(QString input) : m_input(std::move(input)) {}

    QString inputText() const override { return m_input; }
    void setInputText(const QString& text) override {
        m_input = text;
        m_calls << "setInputText:" + text;
    }
    void focusInput() override { m_calls << "focusInput"; }
    void setWubiResult(const QString& caption) override {
        m_wubi = caption;
        m_calls << "setWubiResult:" + caption;
    }
    void setPinyinResult(const QString& caption) override {
        m_pinyin = caption;
        m_calls << "setPinyinResult:" + caption;
    }
    void showMessage(const QString& text) override { m_calls << "showMessage:" + text; }

    QString m_input, m_wubi = "old", m_pinyin = "old";
    QStringList m_calls;
};

struct QueryCase {
    const char* input;  // UTF-8
    const char* character;
    const char* wubi;
    const char* pinyin;
};

// The history file in a scratch directory: the header, then the records of the queries so far.
class History {
public:
    QString path() const { return QDir(m_dir.path()).filePath("历史记录.txt"); }
    QByteArray records() const { return fileBytes(path()).mid(historyHeaderBytes()->size()); }

private:
    QTemporaryDir m_dir;
};

// The chains' order and tie-breaks, and the cut, seen through the whole handler; the history
// step gets the character and the results the window was given.
TEST(CmmsearchClick, ShowsTheFirstAnswerOfEachChain) {
    const QueryCase cases[] = {
        {"啊", "啊", "kb", "a"},     {"啊啊", "啊", "kb", "a"},  {"我", "我", "q", ""},
        {"长", "长", "ta", "chang"}, {"率", "率", "yx", ""},     {"都", "都", "ftjb", "dou"},
        {"还", "还", "gip", "hai"},  {"行", "行", "tf", "hang"}, {"给", "给", "xw", "gei"},
        {"鳞", "鳞", "qgoh", ""},    {"你", "你", "wq", ""},     {"年年", "年", "rh", ""},
        {"嗲", "嗲", "kwq", "dia"},  {"椎", "椎", "swy", ""},    {"龈", "龈", "hwbe", ""},
        {"知", "知", "None!", ""},   {"曹", "曹", "None!", ""},  {" 啊", " ", "None!", ""},
        {"a", "a", "None!", ""},     {"1", "1", "None!", ""},    {"😀x", "😀", "None!", ""},
    };
    for (const QueryCase& c : cases) {
        const History history;
        RecordingWindow window(QString::fromUtf8(c.input));
        const QString character = QString::fromUtf8(c.character);
        EXPECT_EQ(Cmmsearch_Click(window, history.path()), character) << c.input;
        EXPECT_EQ(window.m_calls,
                  QStringList({"setInputText:" + character, QString("setWubiResult:") + c.wubi,
                               QString("setPinyinResult:") + c.pinyin}))
            << c.input;
        EXPECT_EQ(history.records(), *historyRecordBytes(character, c.wubi, c.pinyin)) << c.input;
    }
}

TEST(CmmsearchClick, EmptyBoxOnlyGetsTheFocus) {
    const History history;
    RecordingWindow window("");
    EXPECT_EQ(Cmmsearch_Click(window, history.path()), "");
    EXPECT_EQ(window.m_calls, QStringList({"focusInput"}));
    EXPECT_EQ(window.m_wubi, "old");
    EXPECT_EQ(window.m_pinyin, "old");
    EXPECT_FALSE(QFile::exists(history.path()));
}

TEST(CmmsearchClick, NothingOfTheEarlierQueryStays) {
    const History history;
    RecordingWindow window("啊");
    Cmmsearch_Click(window, history.path());
    window.m_input = "曹";
    Cmmsearch_Click(window, history.path());
    EXPECT_EQ(window.m_wubi, "None!");
    EXPECT_EQ(window.m_pinyin, "");
}

// The window's query answers exactly as the tables' chains do, for every code unit.
TEST(QueryCharacter, GivesTheTablesAnswerForEveryCodeUnit) {
    const auto qt = [](std::u16string_view text) {
        return QStringView(text.data(), static_cast<qsizetype>(text.size()));
    };
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const char16_t key = static_cast<char16_t>(unit);
        const ChainAnswer answer = lookupChains({&key, 1});
        const QueryResult result = queryCharacter(QStringView(&key, 1));
        ASSERT_EQ(result.wubi, qt(answer.wubi)) << "U+" << std::hex << unit;
        ASSERT_EQ(result.pinyin, qt(answer.pinyin)) << "U+" << std::hex << unit;
    }
}

TEST(CutToFirstCharacter, CountsCodeUnitsButKeepsSurrogatePairsWhole) {
    const std::pair<QString, QString> cases[] = {
        {"", ""},
        {"啊", "啊"},
        {"啊我", "啊"},
        {"  ", " "},
        {QString::fromUtf8("😀😀"), QString::fromUtf8("😀")},
        {QString(QChar(0xD800)) + "x", QString(QChar(0xD800))},  // a lone high surrogate
        {QString(QChar(0xDC00)) + "x", QString(QChar(0xDC00))},  // a lone low surrogate
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(cutToFirstCharacter(text), expected) << text.toStdString();
}

struct TooltipCase {
    QString character;
    const char* wubi;    // UTF-8
    const char* pinyin;  // UTF-8
};

// The tooltips' texts, and which strings count as one character: held by the details and the
// stroke data, by the stroke data alone, by neither.
TEST(ResultToolTips, GiveEveryCodeStrokeAndReadingOfOneCharacter) {
    const TooltipCase cases[] = {
        {"我", "一级简码：q\n三级简码：trn\n全码：trnt\n笔画：7（丿一丨一乚丿丶）", "读音：wǒ"},
        {"长", "二级简码：ta\n三级简码：tay\n全码：tayi\n笔画：4（丿一乚丶）",
         "读音：cháng、zhǎng"},
        {"亞", "全码：gfgd\n全码：ghgg\n笔画：8（一丨一乚乚一丨一）", "读音：yà"},
        {"兙", "全码：dqfk\n笔画：9（一丨丨乚一丿乚一丨）", ""},
        {QString::fromUtf8("\U00020000"), "全码：ghab\n笔画：4（一丨一乚）", "读音：hē"},
        {"龨", "笔画：10（一丿丨丶一一一丨一乚）", ""},
        {"A", "", ""},
    };
    for (const TooltipCase& c : cases) {
        const ResultToolTips toolTips = resultToolTips(c.character);
        EXPECT_EQ(toolTips.wubi, QString::fromUtf8(c.wubi)) << c.character.toStdString();
        EXPECT_EQ(toolTips.pinyin, QString::fromUtf8(c.pinyin)) << c.character.toStdString();
    }
    const QString notOneCharacter[] = {"", "我我", QString(QChar(0xD840)),
                                       QString(QChar(0xDC00)) + QChar(0xD840)};
    for (const QString& text : notOneCharacter) {
        const ResultToolTips toolTips = resultToolTips(text);
        EXPECT_TRUE(toolTips.wubi.isEmpty() && toolTips.pinyin.isEmpty()) << text.toStdString();
    }
}

}  // namespace

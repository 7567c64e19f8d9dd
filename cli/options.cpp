// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/options.h"

#include <cstdio>
#include <string>

#include "tables/strokes.h"
#include "tables/wubi_code.h"

namespace {

// An option of the command line; a new one needs only a row here. Each row's help is its entry
// in the option list of the help, wrapped to 79 columns.
struct OptionRow {
    std::string_view name;
    std::string_view shortName;
    bool Options::*flag;                              // what the option switches on, or null
    std::optional<std::string_view> Options::*value;  // where its argument goes, or null
    std::string_view help;
};

constexpr OptionRow kOptionRows[] = {
    {"--each",
     {},
     &Options::each,
     nullptr,
     "  --each       query every character of each TEXT or line, one answer each;\n"
     "               an empty TEXT or line gives no output, and a line end inside a\n"
     "               TEXT separates as on standard input and is not queried\n"},
    {"--all",
     {},
     &Options::all,
     nullptr,
     "  --all        answer with every Wubi code and every reading, in blocks of\n"
     "               lines (see above)\n"},
    {"--json",
     {},
     &Options::json,
     nullptr,
     "  --json       answer in JSON lines (see above), with or without --all\n"},
    {"--word",
     {},
     &Options::word,
     nullptr,
     "  --word       answer with the Wubi 86 codes of each TEXT or line as a word:\n"
     "               one line per code, in the order an input method offers them,\n"
     "               of the word, a tab, the code, a tab, \"listed\" where the Wubi\n"
     "               source lists the code or \"derived\" where the standard rule\n"
     "               builds it (two characters AaAbBaBb, three AaBaCaCb, four or\n"
     "               more AaBaCaZa), a tab and the candidate position at which the\n"
     "               code offers the word (1 for first). A word with a character\n"
     "               that no code types gets one line: the word, a tab and None!.\n"
     "               A word of one character gets the character's codes, shortest\n"
     "               first, each listed; an empty or invalid word an empty line.\n"
     "               With --json, one object per word of \"word\" and \"codes\" (an\n"
     "               array of objects of \"code\", \"origin\" and \"position\"; empty\n"
     "               for None!), or null. Takes no --each, --all or --code. For\n"
     "               example, tinglan-query --word 中国 汀兰 gives\n"
     "                 中国\tkhlg\tlisted\t1\n"
     "                 汀兰\tisuf\tderived\t1\n"},
    {"--typing",
     {},
     &Options::typing,
     nullptr,
     "  --typing     show the shortest way to type each TEXT or line in Wubi 86: it\n"
     "               is split into the words the Wubi source lists, the longest\n"
     "               first, and single characters, each of which gets one line: the\n"
     "               word or character, a tab, the code that types it in the fewest\n"
     "               keys (then a blank and its candidate position where it is not\n"
     "               the first), a tab and the full codes of its characters,\n"
     "               separated by blanks. Text that no code types (punctuation,\n"
     "               Latin letters, blanks) gets lines of up to 64 characters: the\n"
     "               text, a tab and None!. A line end ends every word, and each run\n"
     "               of invalid bytes gets an empty line. Two lines close the answer:\n"
     "                 keys: shortest N, full N, pinyin N\n"
     "                 left out: untyped N, no reading N\n"
     "               the keys that type the text by these shortest codes, by each\n"
     "               character's full code and by each character's toneless pinyin,\n"
     "               every code and syllable with the key that commits it (a space,\n"
     "               or a candidate's digit; a first candidate of four letters\n"
     "               commits by itself); then the characters that no code types, and\n"
     "               the typed characters without a reading, which the pinyin count\n"
     "               leaves out. With --json, an object per piece of \"text\", \"kind\"\n"
     "               (\"word\", \"character\" or \"untyped\") and, but for untyped text,\n"
     "               \"code\", \"position\" and \"fullCodes\" (an array), or null; last\n"
     "               an object of \"keys\" (of \"shortest\", \"full\" and \"pinyin\"),\n"
     "               \"untyped\" and \"noReading\". Takes no --each, --all or --code.\n"
     "               For example, tinglan-query --typing 中国人。 gives\n"
     "                 中国\tkhlg\tkhk lgyi\n"
     "                 人\tw\twwww\n"
     "                 。\tNone!\n"
     "                 keys: shortest 6, full 12, pinyin 14\n"
     "                 left out: untyped 1, no reading 0\n"},
    {"--code",
     {},
     nullptr,
     &Options::code,
     "  --code CODE  list the characters that CODE (1 to 4 letters a to y) types at\n"
     "               any level, in the order an input method offers them, the most\n"
     "               frequent first: one line each of the character, a tab, its\n"
     "               code point, a tab and the level of CODE; nothing when CODE\n"
     "               types nothing. A phrase that CODE types gets a line of the\n"
     "               phrase, a tab, its code points separated by blanks, a tab and\n"
     "               \"phrase\", in its place; with --json, \"phrases\" follows\n"
     "               \"characters\", an array of objects of \"phrase\", \"codePoints\"\n"
     "               (an array) and \"position\" (its place among everything CODE\n"
     "               types, 1 for first). Takes no TEXT, --each or --all and reads\n"
     "               no input; --code=CODE is the same\n"},
    {"--strokes",
     {},
     nullptr,
     &Options::strokes,
     "  --strokes SEQ\n"
     "               list the characters whose standard stroke order begins with\n"
     "               SEQ, the most common first, as they are found: one line each\n"
     "               of the character, a tab, its stroke order in digits, a tab,\n"
     "               its principal reading with tone mark, a tab and its shortest\n"
     "               Wubi code (a field is empty where the character has none).\n"
     "               SEQ is strokes in the digits 1 to 5 (横 竖 撇 点 折) or the\n"
     "               letters h s p n z, with ? for any one stroke (quote it for\n"
     "               the shell). Takes no TEXT, --each, --all or --code and reads\n"
     "               no input; --strokes=SEQ is the same\n"},
    {"--dump",
     {},
     &Options::dump,
     nullptr,
     "  --dump       print every row of the code tables in table order: group\n"
     "               letter, character, code and pinyin, separated by tabs\n"},
    {"--help", "-h", &Options::help, nullptr, "  -h, --help   show this help\n"},
    {"--version", {}, &Options::version, nullptr, "  --version    show the version\n"},
};

constexpr std::string_view kUsage =
    "usage: tinglan-query [--each] [--all] [--json] [--] [TEXT...]\n"
    "       tinglan-query --word [--json] [--] [WORD...]\n"
    "       tinglan-query --typing [--json] [--] [TEXT...]\n"
    "       tinglan-query --code CODE [--json]\n"
    "       tinglan-query --strokes SEQ [--json]\n"
    "       tinglan-query --dump | -h | --help | --version\n";

constexpr std::string_view kHelpBeforeOptions =
    "Shows the Wubi 86 code and the toneless pinyin of Chinese characters, as the\n"
    "tinglan window does; on request every Wubi code and every reading with tone\n"
    "marks of a character, or the characters of a code.\n"
    "\n"
    "For each TEXT, one line: its first character, a tab, the Wubi code (or None!),\n"
    "a tab, the pinyin (or nothing), a line feed. An empty TEXT gives an empty line.\n"
    "Without TEXT, each line of standard input is one query. A line ends at LF, at\n"
    "CR LF or at the end of the input (a CR just before that end is dropped). Lines\n"
    "are answered as they arrive: when standard output is a terminal or a pipe,\n"
    "every answer is written out before the tool waits for more input.\n"
    "\n"
    "A control character (U+0000 to U+001F, U+007F to U+009F) is shown as its code\n"
    "point, such as U+0009 for a tab, so that every answer is one line of three\n"
    "fields (with --all, it keeps its block; --json escapes it). A byte order mark\n"
    "(U+FEFF) is a character like any other, also at the start of a TEXT or of the\n"
    "input.\n"
    "\n"
    "Input and output are UTF-8. A TEXT or line that is not valid UTF-8 is reported\n"
    "once on standard error, answered with an empty line (null with --json), and\n"
    "makes the exit status 1. With --each, its valid characters are answered as\n"
    "well, and each run of invalid bytes is answered with one empty line (null) in\n"
    "its place.\n"
    "\n"
    "With --all, each answer is a block of five lines and an empty line, such as\n"
    "\n"
    "  长 U+957F\n"
    "    window:   ta chang\n"
    "    codes:    ta (simple2), tay (simple3), tayi (full)\n"
    "    readings: cháng, zhǎng\n"
    "    strokes:  4 (3154)\n"
    "\n"
    "The first line is the character and its code point (a control character by\n"
    "its code point alone). \"window:\" gives what the window shows: the code and\n"
    "the pinyin, the code and \"(no pinyin)\", or \"None! (not in the tables)\".\n"
    "\"codes:\" gives every Wubi 86 code with its level, \"readings:\" every Mandarin\n"
    "reading with tone marks, the one the tables file the character by first; each\n"
    "gives \"none\" when there is none. An empty or invalid TEXT or line gives an\n"
    "empty line alone. A code's level is simple1, simple2 or simple3 for the simple\n"
    "codes of one, two or three letters, or full for the full code; a character\n"
    "may have several full codes. A code of two or three letters that offers\n"
    "another character first is no simple code: its level is code2 or code3. Any\n"
    "code that offers other characters first also gives the character's place\n"
    "among them: \"deu (code3, candidate 2)\".\n"
    "\n"
    "A character without a modern reading has one more line, \"historical\n"
    "readings:\", with the readings only historical dictionaries give. \"strokes:\"\n"
    "gives the number of strokes and the standard stroke order in digits (1 横,\n"
    "2 竖, 3 撇, 4 点, 5 折), or \"none\".\n"
    "\n"
    "With --json, each answer is one line of JSON: for a character, an object of\n"
    "\"character\", \"codePoint\" (\"U+957F\"), \"wubi\" and \"pinyin\" (what the window\n"
    "shows: a code or \"None!\", a syllable or \"\"), \"inTables\" (false for \"None!\"),\n"
    "\"codes\" (an array of objects of \"code\", \"level\" and \"candidate\", the\n"
    "character's place among those of the code, 1 first), \"readings\" and\n"
    "\"historicalReadings\" (arrays of strings) and \"strokes\" (an object of\n"
    "\"count\" and \"order\", or null); null for an empty or invalid TEXT or line.\n"
    "With --code, one object of \"code\" and \"characters\" (an array of objects of\n"
    "\"character\", \"codePoint\" and \"level\"). Strings are UTF-8; quotes,\n"
    "backslashes and control characters are escaped.\n"
    "\n"
    "With --strokes and --json, each character is one line of JSON, an object of\n"
    "\"character\", \"codePoint\", \"strokes\" (as above), \"reading\" and \"code\" (null\n"
    "where the character has none).\n"
    "\n"
    "Options may stand anywhere before --:\n";

constexpr std::string_view kHelpAfterOptions =
    "  --           end the options: every later argument is a TEXT, even one that\n"
    "               starts with - (a lone - is always a TEXT)\n"
    "\n"
    "Exit status: 0 when every TEXT or line was answered; 1 when one was not valid\n"
    "UTF-8, or when reading standard input or writing standard output failed (said\n"
    "in one line that names the error); 2 for an unknown option, for --code without\n"
    "CODE or twice, for --dump with a TEXT, --each, --all, --json or --code, or for\n"
    "--code with a TEXT, --each or --all (each said in one line, with the usage on\n"
    "standard error), and for a CODE that is not 1 to 4 letters a to y (said in one\n"
    "line). When the reader of standard output closes it, as head does, the tool\n"
    "stops without a message, and its exit status covers what was answered until\n"
    "then.\n"
    "\n"
    "Exit status 2 also for --word or --typing with --each, --all, --code, --dump or\n"
    "each other, and for --strokes without SEQ or twice, or with a TEXT, --each,\n"
    "--all, --code, --dump, --word or --typing (said in one line, with the usage on\n"
    "standard error), and for a SEQ that is not one or more strokes (said in one\n"
    "line). A word or text that no code types counts as answered.\n";

const OptionRow* findOption(std::string_view name) {
    for (const OptionRow& row : kOptionRows) {
        if (name == row.name || (!row.shortName.empty() && name == row.shortName)) return &row;
    }
    return nullptr;
}

bool fail(const char* reason, std::string_view argument = "") {
    std::fprintf(stderr, "tinglan-query: %s%.*s\n", reason, static_cast<int>(argument.size()),
                 argument.data());
    std::fwrite(usageText().data(), 1, usageText().size(), stderr);
    return false;
}

// Says what does not go together; returns whether all does.
bool checkCombination(const Options& options) {
    if (options.dump &&
        (options.each || options.all || options.json || options.code || !options.texts.empty()))
        return fail("--dump takes no TEXT, --each, --all, --json or --code");
    if (options.code && (options.each || options.all || !options.texts.empty()))
        return fail("--code takes no TEXT, --each or --all");
    if (options.word &&
        (options.each || options.all || options.code || options.dump || options.typing))
        return fail("--word takes no --each, --all, --code, --dump or --typing");
    if (options.typing && (options.each || options.all || options.code || options.dump))
        return fail("--typing takes no --each, --all, --code or --dump");
    if (options.code && !isWubiCode(*options.code)) {
        // Not the usage: the command line is right but for the value.
        std::fputs("tinglan-query: a CODE is 1 to 4 letters a to y\n", stderr);
        return false;
    }
    if (options.strokes && (options.each || options.all || options.code || options.dump ||
                            options.word || options.typing || !options.texts.empty()))
        return fail("--strokes takes no TEXT, --each, --all, --code, --dump, --word or --typing");
    if (options.strokes && !strokes::Sequence::parse(*options.strokes)) {
        std::fputs(
            "tinglan-query: a SEQ is one or more of the strokes 1 to 5 or h s p n z, or ? for "
            "any stroke\n",
            stderr);
        return false;
    }
    return true;
}

}  // namespace

std::optional<Options> parseArguments(int argc, char** argv) {
    Options options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string_view argument = argv[i];
        if (optionsEnded || argument.empty() || argument[0] != '-' || argument == "-") {
            options.texts.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        std::optional<std::string_view> attached;  // the VALUE of --name=VALUE
        if (const std::size_t equals = argument.find('=');
            argument.starts_with("--") && equals != std::string_view::npos) {
            attached = argument.substr(equals + 1);
            argument = argument.substr(0, equals);
        }
        const OptionRow* row = findOption(argument);
        if (!row || (row->flag && attached)) {
            fail("unknown option ", argv[i]);
            return std::nullopt;
        }
        if (row->flag) {
            options.*(row->flag) = true;
            continue;
        }
        if (options.*(row->value)) {
            fail("option given twice: ", row->name);
            return std::nullopt;
        }
        if (!attached && i + 1 == argc) {
            fail("option needs a value: ", row->name);
            return std::nullopt;
        }
        options.*(row->value) = attached ? *attached : std::string_view(argv[++i]);
    }
    if (!checkCombination(options)) return std::nullopt;
    return options;
}

std::string_view usageText() { return kUsage; }

std::string_view helpText() {
    static const std::string help = [] {
        std::string text(kHelpBeforeOptions);
        for (const OptionRow& row : kOptionRows) text += row.help;
        text += kHelpAfterOptions;
        return text;
    }();
    return help;
}

#include "submit/service/resolve_answer.h"

#include <string>

#include "runtime/core/text_ops.h"
#include "submit/service/wide_escapes.h"

#include <gtest/gtest.h>

namespace brindor {
namespace {

struct AnswerCase {
    const char* name;
    const char* answer;
    // nullptr: the field must keep what it held before.
    const char* cid;
    const char* tsize;
    const char* title;
    const char* size;
    const char* findex;
};

TaskFields previous_fields() {
    return {"oldcid", "oldtsize", "oldtitle", "oldfindex", "oldsize"};
}

void expect_field(const char* name, const Text& actual, const char* expected, const char* previous) {
    EXPECT_STREQ(actual.c_str(), expected ? expected : previous) << name;
}

TEST(ParseResolveAnswer, ReadsTheFieldsTheAnswerYields) {
    const AnswerCase cases[] = {
        {"whole answer",
         "queryUrl(1,'0606','1536','Small Readme Pack','1',new Array('a.txt','b.txt'),new "
         "Array('1KB','0.5KB'),"
         "new Array('1024','512'),new Array('1','1'),new Array('text','text'),new Array('0','1'),'0.123')",
         "0606", "1536", "Small Readme Pack", "1024_512_", "0_1_"},
        {"a comma stays in the title",
         "queryUrl(1,'0808','2048','Rock, Paper, Scissors','1',new Array('t'),new Array('2KB'),"
         "new Array('2048'),new Array('1'),new Array('text'),new Array('0'),'0.5')",
         "0808", "2048", "Rock, Paper, Scissors", "2048_", "0_"},
        {"parentheses and quotes inside values",
         "queryUrl(1,'CIDF1)','7','Greatest Hits (\\'Live\\')','1',new Array('x'),new Array('7B'),"
         "new Array('7'),new Array('1'),new Array('video'),new Array('0'),'0.5')",
         "CIDF1)", "7", "Greatest Hits ('Live')", "7_", "0_"},
        {"Chinese title, escapes decoded, a backslash as a second byte",
         "queryUrl(1,'0A0A','3','\xB3\xC7\xC4\xCF, \\'Old\\\\Town\\' \x81\x5C\\x41','1',new Array('n'),"
         "new Array('3B'),new Array('3'),new Array('1'),new Array('text'),new Array('0'),'0.5')",
         "0A0A", "3",
         "\xB3\xC7\xC4\xCF, 'Old\\Town' \x81\x5C"
         "A",
         "3_", "0_"},
        {"unquoted array values keep their commas",
         "queryUrl(1,'C','3','T','1',new Array(a,b),new Array(1B,2B),new Array(1,2),new Array(1,1),"
         "new Array(text,text),new Array(0,1),'0.5')",
         "C", "3", "T", "1,2_", "0,1_"},
        {"nothing resolved: empty values and empty arrays",
         "queryUrl(0,'','','','0',new Array(),new Array(),new Array(),new Array(),new Array(),new "
         "Array(),'0.1')",
         "", "", "", "_", "_"},
        {"another callback name: arrays only",
         "jsonp(1,'C','3','T','1',new Array('n'),new Array('3B'),new Array('3'),new Array('1'),new "
         "Array('x'),"
         "new Array('0'),'0.5')",
         nullptr, nullptr, nullptr, "3_", "0_"},
        {"no array at all", "queryUrl(1,'C','3','T','1')", nullptr, nullptr, nullptr, nullptr, nullptr},
        {"empty answer", "", nullptr, nullptr, nullptr, nullptr, nullptr},
        {"an error page", "<html><body>500 Internal Server Error</body></html>", nullptr, nullptr, nullptr,
         nullptr, nullptr},
        {"too few values and arrays", "queryUrl(1,'C',new Array('name'),new Array('TSIZE'))", "C", nullptr,
         nullptr, nullptr, nullptr},
        {"three values", "queryUrl(1,'C','9',new Array('n'))", "C", "9", nullptr, nullptr, nullptr},
        {"five arrays: sizes without indexes",
         "queryUrl(1,'C','3','T','1',new Array('n'),new Array('3B'),new Array('3'),new Array('1'),new "
         "Array('x'))",
         "C", "3", "T", "3_", nullptr},
        {"scalars only up to the first array",
         "queryUrl(1,'C','3',new Array('T'),'late','1',new Array(),new Array(),new Array(),new Array(),"
         "new Array())",
         "C", "3", nullptr, "_", "_"},
    };
    for (const AnswerCase& c : cases) {
        SCOPED_TRACE(c.name);
        TaskFields fields = previous_fields();
        ParseResolveAnswer(c.answer, fields);
        const TaskFields before = previous_fields();
        expect_field("cid", fields.cid, c.cid, before.cid.c_str());
        expect_field("tsize", fields.tsize, c.tsize, before.tsize.c_str());
        expect_field("title", fields.title, c.title, before.title.c_str());
        expect_field("size", fields.size, c.size, before.size.c_str());
        expect_field("findex", fields.findex, c.findex, before.findex.c_str());
    }
}

TEST(ParseResolveAnswer, LongAnswerOfManyFiles) {
    Text answer = "queryUrl(1,'21','5000','Many','1',new Array(),new Array(),new Array(";
    Text expected;
    for (int i = 0; i < 1000; ++i) {
        answer = concat_text({answer, i ? "," : "", "'5'"});
        expected = concat_text(expected, "5_");
    }
    answer = concat_text(answer, "),new Array(),new Array(),new Array('0'),'0.5')");
    TaskFields fields;
    ParseResolveAnswer(answer, fields);
    EXPECT_EQ(fields.size, expected);
    EXPECT_EQ(fields.findex, "0_");
}

TEST(ParseResolveAnswer, NoStringMovesTheArraysAndACallThatIsNoScriptIsReadInPieces) {
    const std::string arrays = ",'1',new Array('a'),new Array('1KB'),new Array('1024'),new Array('1'),"
                               "new Array('v'),new Array('0'),'0.5')";
    const std::string whole = "queryUrl(1,'C','1024','T'" + arrays;
    const struct {
        std::string answer;
        const char* title; // and every other field right when committable
        bool committable;
    } cases[] = {
        {"queryUrl(1,'C','1024','x new Array(\\'9\\') y'" + arrays, "x new Array('9') y", true},
        {"queryUrl(1,'C','1024','it's fine'" + arrays, "it's fine", true},
        {whole.substr(0, whole.size() - 3), "T", true},   // cut after the last array
        {whole.substr(0, whole.size() - 12), "T", false}, // cut inside it
        {whole + ";alert(1)", "T", false},
    };
    for (const auto& c : cases) {
        TaskFields f;
        EXPECT_EQ(ParseResolveAnswer(c.answer.c_str(), f), c.committable) << c.answer;
        EXPECT_STREQ(f.title.c_str(), c.title);
        const std::string rest =
            std::string(f.cid.c_str()) + f.tsize.c_str() + f.size.c_str() + f.findex.c_str();
        EXPECT_TRUE(!c.committable || rest == "C10241024_0_") << c.answer;
    }
}

TEST(DecodeWideEscapes, RunsBeyondAsciiOnlyAndNeverAnEscapedBackslash) {
    const auto mark = [](TextRef escapes) { return concat_text({"<", escapes, ">"}); };
    EXPECT_STREQ(DecodeWideEscapes("'\\u4e2d\\u6587 T\\u0027\\ud83c\\udfb5\\\\u4e2d\\u4e2'", mark).c_str(),
                 "'<\\u4e2d\\u6587> T\\u0027<\\ud83c\\udfb5>\\\\u4e2d\\u4e2'");
    EXPECT_STREQ(DecodeWideEscapes("'\x81\\u4e2d'", mark).c_str(), "'\x81\\u4e2d'"); // a second byte
}

TEST(JoinArrayValues, JoinsWithUnderscores) {
    const struct {
        const char* piece;
        const char* joined;
    } cases[] = {
        {"('0','1','2'),", "0_1_2_"}, {"('1024')", "1024_"},          {"(),", "_"}, {"(0,1)", "0,1_"},
        {"('1',2,'3')", "1_2,3_"},    {"('1','2'),'0.123')", "1_2_"}, {"", "_"},    {"('unclosed'", "_"},
        {"no parenthesis", "_"},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(JoinArrayValues(c.piece).c_str(), c.joined) << c.piece;
}

} // namespace
} // namespace brindor

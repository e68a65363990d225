#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/import/pasted_links.h"
#include "app/report/report_text.h"
#include "submit/record/journal_rows.h"

namespace brindor::app {
namespace {

TextArray Cells(std::initializer_list<const char*> cells) {
    TextArray array;
    for (const char* cell : cells)
        array.append(Text(cell));
    return array;
}

std::vector<std::string> Elements(const TextArray& array) {
    std::vector<std::string> elements;
    for (int i = 1; i <= array.count(); ++i)
        elements.push_back(array.at(i));
    return elements;
}

// The forms a copy or an export builds, row by row.
Text Lines(void (*append)(TextBuilder&, const TextArray&), std::initializer_list<TextArray> rows) {
    TextBuilder out;
    for (const TextArray& row : rows)
        append(out, row);
    return out.take();
}

TEST(ReportText, EveryFormKeepsTheRowsInOrderWithCrLf) {
    const TextArray rows[] = {
        Cells({"1", "山海之间", "1.5GB", "magnet:?xt=a", "提交成功！", ""}),
        Cells({"3", "Tiny, \"Comma\"", "2KB", "magnet:?xt=c", "提交失败！", "服务拒绝：a,b"}),
    };
    EXPECT_STREQ(Lines(AppendLink, {rows[0], rows[1]}).c_str(), "magnet:?xt=a\r\nmagnet:?xt=c\r\n");
    EXPECT_STREQ(Lines(AppendTabSeparatedLine, {rows[0]}).c_str(),
                 "1\t山海之间\t1.5GB\tmagnet:?xt=a\t提交成功！\t\r\n");
    EXPECT_STREQ(Lines(AppendCsvLine, {rows[0], rows[1], Cells({"line\nbreak"})}).c_str(),
                 "1,山海之间,1.5GB,magnet:?xt=a,提交成功！,\r\n"
                 "3,\"Tiny, \"\"Comma\"\"\",2KB,magnet:?xt=c,提交失败！,\"服务拒绝：a,b\"\r\n"
                 "\"line\nbreak\"\r\n");
}

TEST(ReportText, CellsThatLookLikeFormulasStayText) {
    const TextArray row = Cells({"=1+2", "@SUM(1+1)", "-2+3", "-1", "+2.5", "a\tb", "\tx", "\rx", "x=1"});
    EXPECT_STREQ(CsvLine(row).c_str(), "'=1+2,'@SUM(1+1),'-2+3,-1,+2.5,a\tb,'\tx,\"'\rx\",x=1\r\n");
    EXPECT_STREQ(Lines(AppendTabSeparatedLine, {row}).c_str(),
                 "'=1+2\t'@SUM(1+1)\t'-2+3\t-1\t+2.5\ta b\t' x\t' x\tx=1\r\n");
    EXPECT_STREQ(CsvLine(Cells({"-", "1", "\"=A1\""})).c_str(), "'-,1,\"\"\"=A1\"\"\"\r\n");
}

TEST(ReportText, AJournalLineReadsBackAsItsCells) {
    const TextArray cells =
        Cells({"7", "山海, \"之间\"\r\n第二行", "1.5GB", "magnet:?xt=a,b", "提交失败！", "", "2026"});
    const Text line = CsvLine(cells);
    const std::vector<TextArray> rows = ReadCsvRows(line.c_str(), line.length());
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(Elements(rows[0]), Elements(cells));
}

TEST(PastedLinks, LinesAsAFileGivesThem) {
    struct Case {
        const char* text;
        std::vector<std::string> links;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"\r\n\r\na\r\n\r\nb\n\n", {"a", "b"}},
        {"a\x1A"
         "b",
         {"a", "b"}},
        {"", {}},
        {" C12FE1C06BBA254A9DC9F519B335AA7C1367A88A\nyex6dqdlxisuvhoj6um3gnnkpqjwpkek\nc12fe1c06bba254a9dc9f5"
         "19b335aa7c1367a88\n",
         {"magnet:?xt=urn:btih:C12FE1C06BBA254A9DC9F519B335AA7C1367A88A",
          "magnet:?xt=urn:btih:yex6dqdlxisuvhoj6um3gnnkpqjwpkek", "c12fe1c06bba254a9dc9f519b335aa7c1367a88"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Elements(LinksFromText(c.text)), c.links) << c.text;
}

TEST(HistoryCells, AnUnknownOutcomeHasItsStateAndReasonAndAStateOfANewerBuildIsNoIndex) {
    for (const int state : {3, 4, 9}) {
        RecordedLink link;
        link.state = static_cast<LinkState>(state);
        const std::vector<std::string> cells = Elements(HistoryCells(link));
        EXPECT_EQ(std::vector<std::string>(cells.begin() + 4, cells.end()),
                  (std::vector<std::string>{"结果未知", "结果未知（任务可能已建立）", "", "结果未知"}));
    }
}

} // namespace
} // namespace brindor::app

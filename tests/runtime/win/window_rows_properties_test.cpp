#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "runtime/win/window/typed_controls.h"
#include "runtime/win/window/window_registry.h"
#include "window_test_fixture.h"
#include "window_test_support.h"

namespace brindor::window_tests {
namespace {

using testing::pump_until;
using testing::rect_in_client;
using testing::wide;
using testing::window_text;

std::wstring cell(int row, int column) {
    wchar_t buffer[256] = L"";
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer;
    item.cchTextMax = 256;
    SendMessageW(child(kList), LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(&item));
    return buffer;
}

class ListRows : public ::testing::Test {
  protected:
    void SetUp() override { SendMessageW(child(kList), LVM_DELETEALLITEMS, 0, 0); }
    int rows() { return static_cast<int>(SendMessageW(child(kList), LVM_GETITEMCOUNT, 0, 0)); }
};

TEST_F(ListRows, AppendGivesConsecutiveIndexesAndPositionInserts) {
    EXPECT_EQ(insert_row(kList), 0);
    EXPECT_EQ(insert_row(kList, -1, "b"), 1);
    EXPECT_EQ(insert_row(kList, -7, "c"), 2);
    EXPECT_EQ(insert_row(kList, 0, "front"), 0);
    EXPECT_EQ(cell(0, 0), L"front");
    EXPECT_EQ(cell(2, 0), L"b");
    EXPECT_EQ(rows(), 4);
    remove_row(kList, 0);
    remove_row(kList, 3);
    EXPECT_EQ(cell(1, 0), L"b");
    EXPECT_EQ(rows(), 3);
}

TEST_F(ListRows, CellTextKeepsTheLastWriteAndIgnoresMissingCells) {
    ASSERT_EQ(insert_row(kList, -1, "1"), 0);
    set_cell_text(kList, 0, 2, "提交失败！");
    set_cell_text(kList, 0, 2, "提交成功！");
    EXPECT_EQ(cell(0, 2), wide("提交成功！"));
    set_cell_text(kList, 0, 1);
    EXPECT_EQ(cell(0, 1), L"");
    set_cell_text(kList, 0, 3, "no column");
    set_cell_text(kList, 1, 0, "no row");
    set_cell_text(kList, -1, 0, "no row");
    EXPECT_EQ(cell(0, 3), L"");
    EXPECT_EQ(cell(0, 0), L"1");
    EXPECT_EQ(rows(), 1);
}

TEST_F(ListRows, NotAListRefusesRows) {
    EXPECT_EQ(insert_row(kLabel), -1);
    EXPECT_EQ(insert_row(ControlRef{kAnchorId, 0x7777}), -1);
}

TEST_F(ListRows, WorkerThreadWritesWhileTheWindowThreadPumps) {
    constexpr int kRows = 200;
    std::atomic<bool> done{false};
    std::atomic<int> out_of_order{0};
    std::thread worker([&] {
        for (int i = 0; i < kRows; ++i) {
            std::string caption = std::to_string(i + 1);
            int row = insert_row(kList, -1, caption.c_str());
            if (row != i) ++out_of_order;
            set_cell_text(kList, row, 2, "提交成功！");
        }
        done = true;
    });
    bool finished = pump_until([&] { return done.load(); }, 20000);
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(out_of_order, 0);
    EXPECT_EQ(rows(), kRows);
    EXPECT_EQ(cell(kRows - 1, 0), L"200");
    EXPECT_EQ(cell(kRows - 1, 2), wide("提交成功！"));
}

TEST_F(ListRows, AppendedRowsFollowTheEndUnlessScrolledAway) {
    HWND list = child(kList);
    auto top = [&] { return static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0)); };
    auto last_in_view = [&] { return top() + SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0) >= rows(); };
    for (int i = 0; i < 40; ++i)
        insert_row(kList, -1, "row");
    EXPECT_TRUE(last_in_view());
    EXPECT_GT(top(), 0);
    SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
    insert_row(kList, -1, "while the user reads the top");
    EXPECT_EQ(top(), 0);
    SendMessageW(list, LVM_ENSUREVISIBLE, rows() - 1, FALSE);
    insert_row(kList, -1, "back at the end");
    EXPECT_TRUE(last_in_view());
}

TEST_F(ListRows, ReadingGivesTheCellsAsWrittenWholeAndTheSelection) {
    const std::string long_title(600, 'x'); // longer than the control's own display buffer
    for (const char* caption : {"1", "2", "3"}) {
        const int row = insert_row(kList, -1, caption);
        set_cell_text(kList, row, 1, row == 1 ? long_title.c_str() : "标题");
    }
    wchar_t buffer[1024] = L"";
    LVITEMW item{};
    item.iSubItem = 1;
    item.pszText = buffer;
    item.cchTextMax = 1024;
    SendMessageW(child(kList), LVM_GETITEMTEXTW, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::wstring(buffer), std::wstring(600, L'x'));

    LVITEMW selected{};
    selected.stateMask = selected.state = LVIS_SELECTED;
    SendMessageW(child(kList), LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
    SendMessageW(child(kList), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&selected));
    const ListTable table = read_list_table(kList, true);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_STREQ(table.rows[1].at(1), "3");
    EXPECT_STREQ(table.rows[1].at(2), "标题");
    EXPECT_STREQ(table.rows[1].at(3), "");
    EXPECT_STREQ(table.titles.at(3), "三");
    EXPECT_EQ(read_list_table(kList).rows[1].at(2), long_title);
    select_all_rows(kList);
    EXPECT_EQ(selected_row_count(kList), 3);
    EXPECT_EQ(list_row_count(kList), 3);
}

TEST(Properties, TextsRoundTripIncludingChinese) {
    struct Case {
        ControlRef control;
        int number;
        const char* value;
    } cases[] = {
        {kLabel, 8, "共2条链接。"},       {kLabel, 8, ""},       {kEdit, 8, "-5"},
        {kDialog, 10, "C:\\链接\\a.txt"}, {kDialog, 13, "C:\\"}, {kLabel, 4, "标记"},
    };
    for (const Case& c : cases) {
        write_property(c.control, c.number, c.value);
        EXPECT_EQ(read_text_property(c.control, c.number), c.value) << c.value;
    }
    EXPECT_EQ(window_text(child(kLabel)), L"");
}

TEST(Properties, ProgressRangeAndPosition) {
    write_property(kBar, 11, 0);
    write_property(kBar, 12, 250);
    write_property(kBar, 13, 17);
    EXPECT_EQ(read_number_property(kBar, 11), 0);
    EXPECT_EQ(read_number_property(kBar, 12), 250);
    EXPECT_EQ(read_number_property(kBar, 13), 17);
    EXPECT_EQ(SendMessageW(child(kBar), PBM_GETPOS, 0, 0), 17);
}

// The typed controls stand for the numbers above: a wrong one writes another property or none.
TEST(Properties, TypedControlsWriteTheirOwnKindsProperties) {
    const ProgressBarControl bar{kBar};
    bar.SetRange(5, 90);
    bar.SetPosition(42);
    EXPECT_EQ(read_number_property(kBar, 11), 5);
    EXPECT_EQ(read_number_property(kBar, 12), 90);
    EXPECT_EQ(SendMessageW(child(kBar), PBM_GETPOS, 0, 0), 42);
    const LabelControl label{kLabel};
    label.SetText("共3条链接");
    EXPECT_EQ(window_text(child(kLabel)), wide("共3条链接"));
    EXPECT_EQ(label.ReadText(), "共3条链接");
    label.SetText("");
    const EditBoxControl edit{kEdit};
    edit.SetText("12");
    EXPECT_EQ(window_text(child(kEdit)), L"12");
    EXPECT_EQ(edit.ReadText(), "12");
    edit.SetText("");
    FileDialogControl{kDialog}.SetInitialDirectory("D:\\");
    EXPECT_EQ(read_text_property(kDialog, 13), "D:\\");
}

TEST(Properties, SharedPlacementVisibilityAndDisable) {
    write_property(kLabel, kPropertyLeft, 10);
    write_property(kLabel, kPropertyWidth, 120);
    RECT r = rect_in_client(child(kLabel));
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right - r.left, 120);
    EXPECT_EQ(read_number_property(kLabel, kPropertyTop), 4);
    EXPECT_EQ(read_number_property(kLabel, kPropertyHeight), 20);

    write_property(kLabel, kPropertyVisible, 0);
    EXPECT_FALSE(IsWindowVisible(child(kLabel)));
    write_property(kLabel, kPropertyVisible, 1);
    EXPECT_EQ(read_number_property(kLabel, kPropertyVisible), 1);

    set_enabled(kButton, false);
    EXPECT_FALSE(IsWindowEnabled(child(kButton)));
    EXPECT_EQ(read_number_property(kButton, kPropertyDisable), 1);
    set_enabled(kButton, true);
    EXPECT_TRUE(IsWindowEnabled(child(kButton)));

    // The file dialog has no window; its placement is kept all the same.
    write_property(kDialog, kPropertyLeft, 99);
    EXPECT_EQ(read_number_property(kDialog, kPropertyLeft), 99);
    EXPECT_EQ(read_number_property(kDialog, kPropertyVisible), 0);
}

TEST(Properties, UnknownControlReadsEmptyAndIgnoresWrites) {
    ControlRef unknown{kAnchorId, 0x12345};
    write_property(unknown, 8, "x");
    EXPECT_EQ(read_text_property(unknown, 8), "");
    EXPECT_EQ(read_number_property(unknown, 13), 0);
}

TEST(Properties, WorkFromAnotherThread) {
    std::atomic<bool> done{false};
    Text caption;
    int64_t position = 0;
    std::thread worker([&] {
        write_property(kLabel, 8, "线程");
        caption = read_text_property(kLabel, 8);
        write_property(kBar, 13, 5);
        position = read_number_property(kBar, 13);
        set_enabled(kButton, false);
        set_enabled(kButton, true);
        done = true;
    });
    bool finished = pump_until([&] { return done.load(); });
    worker.join();
    ASSERT_TRUE(finished);
    EXPECT_EQ(caption, "线程");
    EXPECT_EQ(position, 5);
    EXPECT_TRUE(IsWindowEnabled(child(kButton)));
}

TEST(Properties, WorkNobodyWaitsOnIsIgnored) {
    // Any program can send the work message: an item shaped like ours that no thread waits on.
    bool ran = false;
    struct {
        void (*work)(void*);
        void* argument;
    } foreign{[](void* flag) { *static_cast<bool*>(flag) = true; }, &ran};
    SendMessageW(anchor(), kRunOnWindowThread, 0, reinterpret_cast<LPARAM>(&foreign));
    EXPECT_FALSE(ran);
}

} // namespace
} // namespace brindor::window_tests

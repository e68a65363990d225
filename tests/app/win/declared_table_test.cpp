// The numbered declared functions and the table that names them: an entry missing or out of place
// calls another function with the wrong arguments.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "declared/declared_functions.h"

namespace brindor {
namespace {

// The enumerators as the header lists them, in order.
std::vector<std::string> enumerator_names() {
    std::ifstream header(BRINDOR_DECLARED_HEADER);
    std::string line;
    std::vector<std::string> names;
    while (std::getline(header, line) && line.find("enum DeclaredFunction") == std::string::npos) {
    }
    while (std::getline(header, line) && line.find("kDeclaredFunctionCount") == std::string::npos) {
        std::istringstream words(line);
        std::string word;
        if (words >> word && word[0] == 'k') names.push_back(word.substr(1, word.find(',') - 1));
    }
    return names;
}

TEST(DeclaredFunctions, EachEntryIsTheFunctionItsNumberNames) {
    const std::vector<std::string> names = enumerator_names();
    ASSERT_EQ(names.size(), static_cast<size_t>(kDeclaredFunctionCount));
    const DllCommand* table = declared_function_table();
    for (int i = 0; i < kDeclaredFunctionCount; ++i) {
        SCOPED_TRACE(names[i]);
        ASSERT_TRUE(table[i].library && table[i].name);
        // HttpSendRequestA serves kHttpSendRequestText and kHttpSendRequestBytes.
        std::string stem = table[i].name;
        if (stem.back() == 'A' || stem.back() == 'W') stem.pop_back();
        EXPECT_EQ(names[i].rfind(stem, 0), 0u) << table[i].name;
        HMODULE library = LoadLibraryA(table[i].library);
        EXPECT_TRUE(library && GetProcAddress(library, table[i].name)) << table[i].library;
    }
}

} // namespace
} // namespace brindor

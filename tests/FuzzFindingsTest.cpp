// Inputs the fuzz targets found, kept as plain tests.
#include <gtest/gtest.h>

#include "app/Instance.h"

namespace tavrolin {
namespace {

TEST(FuzzFindings, AnArgumentWithBrokenMultiByteCharactersKeepsFourWholeCharacters) {
    // A lead byte cut short by the next character no longer swallows it.
    EXPECT_EQ(CleanArgument("\xC3\xA9\xE4\xB8\xAD\xC3\x9F\xE4\xE6\x96\x87"),
              "\xC3\xA9\xE4\xB8\xAD\xC3\x9F\xE6\x96\x87");
    // Stray continuation bytes and bytes that never start a character go.
    EXPECT_EQ(CleanArgument("\xF0" "ABC\x80\xFF" "DEF"), "ABCD");
    EXPECT_EQ(CleanArgument("ab\xE4"), "AB");
}

}  // namespace
}  // namespace tavrolin

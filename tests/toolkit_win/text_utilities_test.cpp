// Word bounds, integer conversion with its error numbers, and case-blind search.
#include "toolkit/common/error_state.h"
#include "toolkit/common/text_utilities.h"

#include <gtest/gtest.h>

TEST(IStrBounds, BoundsTheFirstWord)
{
    struct Case {
        const char* text;
        int first, last;
    } cases[] = {
        {"", 0, 0},         // empty
        {"    ", 0, 0},     // all blank
        {"abc", 1, 3},      // no blank: the text's length
        {"  ab cd", 3, 4},  // the first word only
        {"x  ", 1, 1},      // trailing blanks
    };
    for (const auto& c : cases) {
        int first = -1, last = -1;
        IStrBounds(c.text, first, last);
        EXPECT_EQ(first, c.first) << '"' << c.text << '"';
        EXPECT_EQ(last, c.last) << '"' << c.text << '"';
    }
}

TEST(IStrToInteger, ValuesAndErrorNumbers)
{
    struct Case {
        const char* text;
        int value;
        int error;
    } cases[] = {
        {"   -42   ", -42, 0},
        {"+7", 7, 0},
        {"7 8", 7, 0},  // later words are not looked at
        {"2147483647", 2147483647, 0},
        {"2147483648", 0, 4},  // sum above the largest integer
        {"-2147483648", 0, 4},
        {"3000000000", 0, 4},   // ten digits beginning with 3
        {"12345678901", 0, 4},  // eleven digits
        {"00000000001", 0, 4},  // eleven digits, even with leading zeros
        {"12a", 0, 12},
        {"1.5", 0, 12},
        {"-", 0, 12},  // a sign alone is no number
        {"", 0, 10},
        {"     ", 0, 10},
    };
    for (const auto& c : cases) {
        ERROR_STATE = ErrorState{};
        int value = 99;
        IStrToInteger(c.text, value);
        EXPECT_EQ(value, c.value) << '"' << c.text << '"';
        EXPECT_EQ(IErrorInfo(1), c.error) << '"' << c.text << '"';
    }
}

TEST(IStrIndexNoCase, ForwardBackwardAndEdges)
{
    EXPECT_EQ(IStrIndexNoCase("c:\\zidi\\bin\\Zidi.exe", "ZIDI"), 4);
    EXPECT_EQ(IStrIndexNoCase("c:\\zidi\\bin\\Zidi.exe", "ZIDI", 1), 13);
    EXPECT_EQ(IStrIndexNoCase("abc", "x"), 0);
    EXPECT_EQ(IStrIndexNoCase("ab", "abc"), 0);  // pattern longer than the text
    EXPECT_EQ(IStrIndexNoCase("abc", ""), 1);
    EXPECT_EQ(IStrIndexNoCase("abc", "", 1), 4);
    EXPECT_EQ(IStrIndexNoCase("abc", "", 3), 4);  // only bit 0 of the flag counts
    EXPECT_EQ(IStrIndexNoCase("abc", "", 2), 1);
}

TEST(IStrUpper, ChangesOnlyLetters)
{
    std::string s = "aZ9_\xe9 q";
    IStrUpper(s);
    EXPECT_EQ(s, "AZ9_\xe9 Q");
    IStrLower(s);
    EXPECT_EQ(s, "az9_\xe9 q");
}

#include "TextLayout.h"

#include <gtest/gtest.h>

using namespace vlprint;

namespace {

// A fixed-pitch font ten units wide: a line of width 100 holds ten characters.
int TenPerCharacter(const std::string& text) {
    return static_cast<int>(text.size()) * 10;
}

std::vector<TextPage> LayOut(const std::string& document, int linesPerPage = 60) {
    return LayOutPages(document, 100, linesPerPage, TenPerCharacter);
}

} // namespace

TEST(TextLayout, short_lines_stay_as_they_are) {
    EXPECT_EQ(LayOut("one\ntwo\n"), (std::vector<TextPage>{{"one", "two"}}));
    EXPECT_EQ(LayOut("one\r\ntwo\r\n"), (std::vector<TextPage>{{"one", "two"}}));
    EXPECT_EQ(LayOut("one\n\n\ntwo"), (std::vector<TextPage>{{"one", "", "", "two"}}));
    EXPECT_EQ(LayOut("exactly 10"), (std::vector<TextPage>{{"exactly 10"}}));
}

TEST(TextLayout, an_empty_document_is_one_empty_page) {
    EXPECT_EQ(LayOut(""), (std::vector<TextPage>{{""}}));
}

TEST(TextLayout, long_lines_break_after_the_last_word_that_fits) {
    EXPECT_EQ(LayOut("the quick brown fox jumps"),
              (std::vector<TextPage>{{"the quick", "brown fox", "jumps"}}));
    EXPECT_EQ(LayOut("  indented paragraph"), (std::vector<TextPage>{{"  indented", "paragraph"}}));
    EXPECT_EQ(LayOut("trailing   "), (std::vector<TextPage>{{"trailing"}}));
    EXPECT_EQ(LayOut("many      spaces     between"),
              (std::vector<TextPage>{{"many", "spaces", "between"}}));
}

TEST(TextLayout, words_longer_than_a_line_break_where_the_line_ends) {
    EXPECT_EQ(LayOut("abcdefghijklmnopqrstuvwxyz"),
              (std::vector<TextPage>{{"abcdefghij", "klmnopqrst", "uvwxyz"}}));
    EXPECT_EQ(LayOut("a abcdefghijklmn"), (std::vector<TextPage>{{"a", "abcdefghij", "klmn"}}));
    EXPECT_EQ(LayOut("  abcdefghijkl"), (std::vector<TextPage>{{"  abcdefgh", "ijkl"}}));
}

TEST(TextLayout, a_character_wider_than_the_line_still_gets_a_line_of_its_own) {
    EXPECT_EQ(LayOutPages("abc", 5, 60, TenPerCharacter), (std::vector<TextPage>{{"a", "b", "c"}}));
}

TEST(TextLayout, tabs_reach_the_next_stop_and_control_characters_become_spaces) {
    EXPECT_EQ(LayOut("a\tb\n\tc\x01\x1b"), (std::vector<TextPage>{{"a       b", "        c"}}));
}

TEST(TextLayout, pages_fill_up_to_their_line_count) {
    EXPECT_EQ(LayOut("1\n2\n3\n4\n5", 2), (std::vector<TextPage>{{"1", "2"}, {"3", "4"}, {"5"}}));
    EXPECT_EQ(LayOut("1\n2\n3\n4", 2), (std::vector<TextPage>{{"1", "2"}, {"3", "4"}}));
    EXPECT_EQ(LayOut("one two three", 2), (std::vector<TextPage>{{"one two", "three"}}));
    EXPECT_EQ(LayOut("one two three four five", 1),
              (std::vector<TextPage>{{"one two"}, {"three four"}, {"five"}}));
}

TEST(TextLayout, a_form_feed_starts_a_new_page) {
    EXPECT_EQ(LayOut("one\ftwo"), (std::vector<TextPage>{{"one"}, {"two"}}));
    EXPECT_EQ(LayOut("one\n\ftwo\n"), (std::vector<TextPage>{{"one"}, {"two"}}));
    EXPECT_EQ(LayOut("one\f\ntwo"), (std::vector<TextPage>{{"one"}, {"two"}}));
    EXPECT_EQ(LayOut("one\f\ftwo"), (std::vector<TextPage>{{"one"}, {}, {"two"}}));
    // A full page and a form feed give no blank page between them.
    EXPECT_EQ(LayOut("1\n2\f3", 2), (std::vector<TextPage>{{"1", "2"}, {"3"}}));
}

TEST(TextLayout, a_form_feed_that_ends_the_document_adds_no_blank_page) {
    EXPECT_EQ(LayOut("one\f"), (std::vector<TextPage>{{"one"}}));
    EXPECT_EQ(LayOut("one\f\n"), (std::vector<TextPage>{{"one"}}));
}

TEST(TextLayout, test_pages_say_which_page_they_are) {
    const std::vector<TextPage> pages =
        LayOutPages(TestPagesDocument(3), 1000, 60, TenPerCharacter);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].front(), "Vellora 9x test page 1 of 3");
    EXPECT_EQ(pages[1].front(), "Vellora 9x test page 2 of 3");
    EXPECT_EQ(pages[2].front(), "Vellora 9x test page 3 of 3");
    EXPECT_EQ(pages[2].size(), pages[0].size());
}

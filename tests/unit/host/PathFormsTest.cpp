#include "PathForms.h"

#include "CodePages.h"

#include <gtest/gtest.h>

struct PathFormRow {
    const char* path;
    bool fullPath;
    bool device;
    bool plainFile;
};

// Device names in every written form Windows reads as a device: any case, any extension,
// spaces before the dot, a colon after the name, after "\" or "/".
TEST(PathForms, full_paths_devices_and_names_of_no_plain_file) {
    const PathFormRow rows[] = {
        {"C:\\Spool\\job1.tif", true, false, true},
        {"c:\\job1.tif", true, false, true},
        {"\\\\server\\share\\job1.tif", true, false, true},
        {"\\\\server\\share", true, false, true},
        {"\\\\server\\", false, false, true},
        {"\\\\\\share\\job1.tif", false, false, true},
        {"\\\\.\\C:\\job1.tif", false, false, false},
        {"\\\\?\\C:\\job1.tif", false, false, false},
        {"\\??\\C:\\job1.tif", false, false, false},
        {"C:job1.tif", false, false, true},
        {"Spool\\job1.tif", false, false, true},
        {"\\Spool\\job1.tif", false, false, true},
        {"#5.tif", false, false, true},
        {".tif", false, false, true},
        {"", false, false, false},
        {"C:\\Out\\prn.tif", true, true, false},
        {"C:\\Out\\NUL .tif", true, true, false},
        {"C:\\Out\\Con.Tif.tif", true, true, false},
        {"C:\\Out\\aux", true, true, false},
        {"C:\\Out/lpt1.tif", true, true, false},
        {"C:\\Out\\COM9.tif", true, true, false},
        {"C:\\Out\\com\xB9.tif", true, true, false},
        {"C:\\Out\\NUL:x.tif", true, true, false},
        {"C:\\Out\\clock$.tif", true, true, false},
        {"C:\\Out\\CONOUT$.tif", true, true, false},
        {"C:\\Out\\COM0.tif", true, false, true},
        {"C:\\Out\\COM10.tif", true, false, true},
        {"C:\\Out\\NULL.tif", true, false, true},
        {"C:\\NUL\\Doc.tif", true, false, true},
        {"C:\\Out\\Doc:x.tif", true, false, false},
        {"C:\\Out\\*.tif", true, false, false},
        {"C:\\Out\\Doc?.tif", true, false, false},
        {"C:\\Out\\Doc|.tif", true, false, false},
        {"C:\\Out\\Doc\x01.tif", true, false, false},
    };
    for (const PathFormRow& row : rows) {
        EXPECT_EQ(IsFullPath(row.path, kSingleByte), row.fullPath) << row.path;
        EXPECT_EQ(NamesDevice(row.path, kSingleByte), row.device) << row.path;
        EXPECT_EQ(NamesPlainFile(row.path, kSingleByte), row.plainFile) << row.path;
    }
}

// "\x83\x5C" is "ソ" and "\x83\x7C" is "ポ": their second bytes are those of "\" and "|".
TEST(PathForms, a_trail_byte_is_never_taken_for_a_separator_or_a_refused_character) {
    EXPECT_TRUE(NamesPlainFile("C:\\\x83\x7C\\Doc.tif", kShiftJis));
    EXPECT_FALSE(NamesPlainFile("C:\\\x83\x7C\\Doc.tif", kSingleByte));
    EXPECT_FALSE(NamesDevice("C:\\\x83\x5CNUL.tif", kShiftJis));
    EXPECT_TRUE(NamesDevice("C:\\\x83\x5CNUL.tif", kSingleByte));
    EXPECT_TRUE(IsFullPath("\\\\\x83\x5C\\share\\a.tif", kShiftJis));
    EXPECT_FALSE(IsFullPath("\\\\\x83\x5C", kShiftJis));
}

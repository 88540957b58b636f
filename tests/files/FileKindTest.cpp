#include "files/FileKind.h"

#include <gtest/gtest.h>

#include <string>

namespace vemurion {
namespace {

TEST(FileKind, ExtensionsAnywhereInTheFileNameInOneCase) {
    struct Case {
        const char* path;
        bool lcd, text, bitmap, jpeg;
    };
    const Case cases[] = {
        {"/home/v/anim.lcd", true, false, false, false},
        {"ANIM.LCD", true, false, false, false},
        {"anim.Lcd", false, false, false, false},
        {"anim.lCD", false, false, false, false},
        {"notes.txt", false, true, false, false},
        {"NOTES.TXT", false, true, false, false},
        {"notes.Txt", false, false, false, false},
        {"pic.bmp", false, false, true, false},
        {"PIC.BMP", false, false, true, false},
        {"pic.Bmp", false, false, false, false},
        {"photo.jpg", false, false, false, true},
        {"PHOTO.JPG", false, false, false, true},
        {"photo.jpeg", false, false, false, false},
        {"photo.JPEG", false, false, false, false},
        // Folders never count, whatever they are named.
        {"/home/u/pics.lcd/bw.bmp", false, false, true, false},
        {"/home/u/notes.txt.d/anim.lcd", true, false, false, false},
        {"saves.LCD/photo.JPG", false, false, false, true},
        {"a.bmp/b.jpg/", false, false, false, false},
        {"/old.lcd.bak/anim", false, false, false, false},
        {"anim.lcd.bak", true, false, false, false},
        {"anim.lcdx", true, false, false, false},
        {"a.txt.jpg", false, true, false, true},
        {"lcd", false, false, false, false},
        {"anim_lcd", false, false, false, false},
        {"", false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(pathHasLcdExtension(c.path), c.lcd);
        EXPECT_EQ(pathHasTextExtension(c.path), c.text);
        EXPECT_EQ(pathHasBitmapExtension(c.path), c.bitmap);
        EXPECT_EQ(pathHasJpegExtension(c.path), c.jpeg);
        EXPECT_EQ(pathHasKnownExtension(c.path), c.lcd || c.text || c.bitmap || c.jpeg);
    }
}

TEST(FileKind, SplitsAtTheLastSlash) {
    struct Case {
        const char* path;
        const char* folder;
        const char* name;
    };
    const Case cases[] = {
        {"/home/v/anim.lcd", "/home/v/", "anim.lcd"},
        {"anim.lcd", "", "anim.lcd"},
        {"/anim.lcd", "/", "anim.lcd"},
        {"saves/", "saves/", ""},
        {"a.b/c.d/e", "a.b/c.d/", "e"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(folderPart(c.path), c.folder);
        EXPECT_EQ(fileNamePart(c.path), c.name);
    }
}

} // namespace
} // namespace vemurion

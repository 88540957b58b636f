#include "publish/TagText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vemurion {
namespace {

using Lines = std::vector<std::string>;

std::string embed(const std::string& file, char port) {
    return "<embed type=application/x-dreamcast-lcdimg src=" + file + " port=" + port +
           " hidden=true>";
}

Lines script(const std::string& file, const std::string& ports) {
    Lines lines = {"<script language=\"JavaScript\">", "<!--",
                   "  if(navigator.userAgent.indexOf('DreamPassport/2')!=-1){"};
    for (const char port : ports)
        lines.push_back("    document.write(\"" + embed(file, port) + "\");");
    lines.insert(lines.end(), {"  }", "//-->", "</script>"});
    return lines;
}

TEST(TagText, LinesFollowTabPortsAndFileName) {
    struct Case {
        const char* what;
        std::string documentFileName;
        TagForm form;
        PortChoice ports;
        Lines expected;
    };
    const Case cases[] = {
        {"plain, A and C",
         "/home/u/web/anim.lcd",
         TagForm::Plain,
         {true, false, true, false},
         {embed("anim.lcd", 'A'), embed("anim.lcd", 'C')}},
        {"plain, none", "/w/anim.lcd", TagForm::Plain, {}, {}},
        {"script, all four",
         "/w/anim.lcd",
         TagForm::Script,
         {true, true, true, true},
         script("anim.lcd", "ABCD")},
        {"script, none", "/w/anim.lcd", TagForm::Script, {}, script("anim.lcd", "")},
        {"never saved", "無題", TagForm::Plain, {false, true, false, false}, {embed("無題", 'B')}},
        {"blanks are encoded, the value stays one word",
         "/w/my anim.lcd",
         TagForm::Script,
         {false, false, false, true},
         script("my%20anim.lcd", "D")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(tagLines(c.documentFileName, c.form, c.ports), c.expected);
    }
}

// Exactly the characters that would end the value, the tag or the script's string, and '%', are
// percent-encoded; the folder never reaches the tag.
TEST(TagText, FileNameIsEncodedWhereItWouldBreakTheTag) {
    const std::pair<std::string, std::string> cases[] = {
        {"/w/my anim.lcd", "my%20anim.lcd"},
        {"/w/tab\there.lcd", "tab%09here.lcd"},
        {"/w/a\"b.lcd", "a%22b.lcd"},
        {"/w/it's.lcd", "it%27s.lcd"},
        {"/w/back`tick.lcd", "back%60tick.lcd"},
        {"/w/x=1.lcd", "x%3D1.lcd"},
        {"/w/x>y<z.lcd", "x%3Ey%3Cz.lcd"},
        {"/w/100%.lcd", "100%25.lcd"},
        {"/w/a\\b.lcd", "a%5Cb.lcd"},
        {"/my dir/plain.lcd", "plain.lcd"},
        {"無題", "無題"},
        {"/w/アニメ(1)+&#;~!.lcd", "アニメ(1)+&#;~!.lcd"},
    };
    for (const auto& [path, src] : cases) {
        EXPECT_EQ(tagLines(path, TagForm::Plain, {true, false, false, false}),
                  Lines{embed(src, 'A')})
            << path;
    }
}

TEST(TagText, ClipboardTextEndsEveryLineWithCrLf) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"one", "one\r\n"},
        {"one\ntwo", "one\r\ntwo\r\n"},
        {"one\r\ntwo\n", "one\r\ntwo\r\n"}, // a closing break opens no empty line
        {"one\n\ntwo", "one\r\n\r\ntwo\r\n"},
    };
    for (const auto& [box, clipboard] : cases)
        EXPECT_EQ(clipboardText(box), clipboard) << box;
    EXPECT_EQ(clipboardText(boxText({"<script>", "</script>"})), "<script>\r\n</script>\r\n");
}

} // namespace
} // namespace vemurion

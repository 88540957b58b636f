#include "publish/TagText.h"

#include "files/FileKind.h"

namespace vemurion {

namespace {

// Encodes what would end the unquoted src value (blanks, '=', quotes), the tag ('<', '>') or the
// script's string ('"', backslash), and '%' itself, so that the browser reads back the very name.
// Every other byte, UTF-8 sequences included, stays as it is.
std::string percentEncoded(std::string_view fileName) {
    static constexpr std::string_view kEncoded = " \t\"'`=<>%\\";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string result;
    for (const char c : fileName) {
        if (kEncoded.find(c) == std::string_view::npos) {
            result += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            result += '%';
            result += kHex[byte >> 4];
            result += kHex[byte & 0xF];
        }
    }
    return result;
}

std::string embedTag(std::string_view fileName, char port) {
    std::string tag = "<embed type=application/x-dreamcast-lcdimg src=";
    tag += percentEncoded(fileName);
    tag += " port=";
    tag += port;
    tag += " hidden=true>";
    return tag;
}

} // namespace

std::vector<std::string> tagLines(std::string_view documentFileName, TagForm form,
                                  const PortChoice& ports) {
    const std::string fileName = fileNamePart(documentFileName);
    std::vector<std::string> embeds;
    for (int i = 0; i < kPortCount; ++i)
        if (ports[static_cast<std::size_t>(i)])
            embeds.push_back(embedTag(fileName, kPortNames[static_cast<std::size_t>(i)]));
    if (form == TagForm::Plain) return embeds;

    std::vector<std::string> lines = {
        "<script language=\"JavaScript\">",
        "<!--",
        "  if(navigator.userAgent.indexOf('DreamPassport/2')!=-1){",
    };
    for (const std::string& embed : embeds)
        lines.push_back("    document.write(\"" + embed + "\");");
    lines.insert(lines.end(), {"  }", "//-->", "</script>"});
    return lines;
}

std::string boxText(const std::vector<std::string>& lines) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) text += '\n';
        text += lines[i];
    }
    return text;
}

std::string clipboardText(std::string_view text) {
    std::string result;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        result += line;
        result += "\r\n";
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return result;
}

} // namespace vemurion

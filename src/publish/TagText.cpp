#include "publish/TagText.h"

#include "files/FileKind.h"

namespace vemurion {

namespace {

std::string embedTag(std::string_view fileName, char port) {
    std::string tag = "<embed type=application/x-dreamcast-lcdimg src=";
    tag += fileName;
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
